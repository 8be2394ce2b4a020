#include "CCommandLineInfoExt.h"

#include <kxplatform/pathsep.h>
#include <kxplatform/stringapi.h>

#include <cctype>

namespace {

// '/' would start every absolute path where it is the path separator, so
// there only '-' introduces an option.
bool IsOptionCharacter(char c) {
    return c == '-' || (c == '/' && KX_PATH_SEPARATOR != '/');
}

// "d:x" and "l:x" need at least one character after the colon.
constexpr size_t kMinModeArgumentLength = 3;

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool EqualsIgnoringCase(const std::string& text, const std::string& word) {
    return text.size() == word.size() && StartsWithIgnoringCase(text, word);
}

}  // namespace

void CCommandLineInfoExt::ParseCommandLine(const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) {
        const bool isFlag = !argument.empty() && IsOptionCharacter(argument.front());
        ParseParam(isFlag ? argument.substr(1) : argument, isFlag);
    }
}

void CCommandLineInfoExt::RejectOnce(const std::string& reason) {
    if (usageError_.empty()) usageError_ = reason;
}

void CCommandLineInfoExt::ParseParam(const std::string& param, bool isFlag) {
    if (!isFlag && fileName.empty()) fileName = param;

    // The mode prefixes are tested on every argument, option or not: a plain
    // "d:\x.dxf" names a file and a directory at once.
    if (param.size() >= kMinModeArgumentLength) {
        if (StartsWithIgnoringCase(param, "d:")) {
            batch = true;
            directoryMode = true;
            directory = param.substr(2);
        } else if (StartsWithIgnoringCase(param, "l:")) {
            batch = true;
            listMode = true;
            listFile = param.substr(2);
        } else if (isFlag && StartsWithIgnoringCase(param, "o:")) {
            outputDirectory = param.substr(2);
        }
    }
    // Anywhere on the line, not only last.
    if (EqualsIgnoringCase(param, "nologo")) showLogo = false;
    if (!isFlag) return;

    if (EqualsIgnoringCase(param, "h") || EqualsIgnoringCase(param, "-help")) {
        longHelp = longHelp || param.front() == '-';
    } else if (EqualsIgnoringCase(param, "-version")) {
        showVersion = true;
    } else if (param.size() < kMinModeArgumentLength &&
               (StartsWithIgnoringCase(param, "d:") || StartsWithIgnoringCase(param, "l:") ||
                StartsWithIgnoringCase(param, "o:"))) {
        RejectOnce("-" + param + " needs a name after the colon");
    } else if (!EqualsIgnoringCase(param, "nologo") && !StartsWithIgnoringCase(param, "d:") &&
               !StartsWithIgnoringCase(param, "l:") && !StartsWithIgnoringCase(param, "o:")) {
        RejectOnce("unknown option -" + param);
    }
}
