// Finding the editor's data files: the working directory first, then the
// installed data beside the program (../share/zelbun-kreator), then, for a
// program run from its build directory, the source tree's data/.
#pragma once

#include <string>
#include <vector>

// The directories searched when nothing else is asked for; "" stands for
// the working directory.
std::vector<std::string> defaultDataDirs();

// The first existing file of that name in the directories, or "" when none.
std::string findDataFile(const std::string& name, const std::vector<std::string>& dirs);

// The directories as a message can name them.
std::string describeDataDirs(const std::vector<std::string>& dirs);
