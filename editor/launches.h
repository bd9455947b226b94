// Testing in the emulator: each test image written into a private folder
// of this run ($XDG_RUNTIME_DIR/zelbun-kreator-NNN, else the system's
// temporary folder), the emulator started on it, and the programs started
// collected when they end, with those that failed shown. The folder is
// made at the first test and goes with the editor; the folders of editors
// that no longer run (a kill, a crash) go at the next start. No SDL.
#pragma once

#include "core/fileio.h"
#include "editor/voice.h"

#include <cstdint>
#include <string>
#include <vector>

class Platform;

class TestLaunches {
public:
    // `runtimeDir`: where the private folder is made; "" means
    // $XDG_RUNTIME_DIR, else the system's temporary folder. `emulatorCommand`
    // the user's command line for the emulator ("" for none).
    TestLaunches(Platform& platform, std::string runtimeDir, std::string emulatorCommand, Voice voice);
    // Removes the private folder with the images in it.
    ~TestLaunches();
    TestLaunches(const TestLaunches&) = delete;
    TestLaunches& operator=(const TestLaunches&) = delete;

    // Writes `image` as the next test image (test.atr, then test-2.atr and
    // on: an emulator still running an earlier one goes on reading what it
    // was started with) and starts the emulator on it. A game part that
    // would not boot is said instead, and nothing starts. False when no
    // emulator was started.
    bool start(const std::vector<uint8_t>& image);
    // Collects the programs that ended, showing those that failed; true
    // while any still runs.
    bool collect();

    // The private folder; "" before the first test.
    const std::string& folder() const { return folder_; }

private:
    bool makeFolder();
    std::string base() const;

    Platform& platform_;
    std::string runtimeDir_;
    std::string emulatorCommand_;
    Voice voice_;
    std::string folder_;
    FileLock running_;  // held in the folder while this editor runs
    int started_ = 0;
};

// Removes the private folders of test images (zelbun-kreator-NNN) in
// `base` that editors no longer running left.
void removeLeftoverTestFolders(const std::string& base);
