// A Platform for tests: records every call and gives scripted answers, so a
// test can say "the dialog returns /tmp/x.atr", "the user cancels" or
// "opening fails" and then check what the editor asked for.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <string>
#include <vector>

class FakePlatform : public Platform {
public:
    struct DialogAnswer {
        DialogResult result;
        std::string path;
    };
    struct OpenRequest {
        std::string file;
        std::string dir;
        std::string emulatorCommand;  // for test images
    };

    // Answers for the coming dialogs, used in order; once they run out every
    // dialog is cancelled.
    std::deque<DialogAnswer> dialogAnswers;
    std::vector<DialogRequest> dialogRequests;

    bool openSucceeds = true;
    Error openError = Error::of(Fault::programNotFound, "xdg-open");
    std::vector<OpenRequest> openRequests;

    // Answers for the coming questions (indices into Question::answers),
    // used in order; once they run out every question is cancelled (its last
    // answer).
    std::deque<int> questionAnswers;
    std::vector<Question> questions;

    std::string directory = "/fake/work";
    int reapCalls = 0;

    void answerDialog(const std::string& path) { dialogAnswers.push_back({DialogResult::Chosen, path}); }
    void cancelDialog() { dialogAnswers.push_back({DialogResult::Cancelled, ""}); }
    void dialogUnavailable() { dialogAnswers.push_back({DialogResult::Unavailable, ""}); }

    DialogResult fileDialog(const DialogRequest& request, std::string& chosenPath) override
    {
        dialogRequests.push_back(request);
        if (dialogAnswers.empty())
            return DialogResult::Cancelled;
        DialogAnswer answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (answer.result == DialogResult::Chosen)
            chosenPath = answer.path;
        return answer.result;
    }

    void answerQuestion(int answer) { questionAnswers.push_back(answer); }

    int ask(const Question& question) override
    {
        questions.push_back(question);
        if (questionAnswers.empty())
            return static_cast<int>(question.answers.size()) - 1;
        int answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }

    Error openWithDefaultProgram(const std::string& file, const std::string& dir) override
    {
        openRequests.push_back({file, dir, ""});
        return openSucceeds ? Error() : openError;
    }

    Error openTestImage(const std::string& file, const std::string& dir, const std::string& emulatorCommand) override
    {
        Error error = openWithDefaultProgram(file, dir);
        openRequests.back().emulatorCommand = emulatorCommand;
        return error;
    }

    std::string currentDirectory() override { return directory; }

    // Failures the next reap reports, once.
    std::vector<Error> endedBadly;
    bool running = false;

    std::vector<Error> reapChildren() override
    {
        ++reapCalls;
        std::vector<Error> failures;
        failures.swap(endedBadly);
        return failures;
    }
    bool childrenRunning() const override { return running; }
};
