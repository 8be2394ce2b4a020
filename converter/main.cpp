// korvexcmd: converts drawings into Korvex drawing files in batch.
#include "BatchConverter.h"
#include "CCommandLineInfoExt.h"
#include "ConsoleText.h"
#include "ConversionLog.h"
#include "ConverterSettings.h"
#include "EngineApi.h"
#include "ProgramLocation.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kSucceeded = 0;
constexpr int kSomeInputFailed = 1;
constexpr int kStartupFailed = 1;
constexpr int kUnusableCommandLine = 2;

int FailStartup(const std::string& reason) {
    std::cerr << "Fatal Error: MFC initialization failed" << std::endl;
    std::cerr << "korvexcmd: " << reason << std::endl;
    return kStartupFailed;
}

}  // namespace

int main(int argc, char** argv) {
    CCommandLineInfoExt commandLine;
    commandLine.ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.showVersion) {
        ConsoleText::PrintVersion(std::cout);
        return kSucceeded;
    }
    if (!commandLine.usageError().empty()) {
        if (commandLine.showLogo) ConsoleText::PrintLogo(std::cout);
        ConsoleText::PrintHelp(std::cout);
        std::cerr << "korvexcmd: " << commandLine.usageError() << std::endl;
        return kUnusableCommandLine;
    }

    const std::string programDirectory = ProgramLocation::Directory();
    if (programDirectory.empty()) return FailStartup("cannot locate the program file");
    const auto engine = EngineApi::BindByOrdinal();
    if (!engine) {
        return FailStartup(std::string("cannot bind the engine library ") + EngineApi::kLibraryName);
    }

    // Beside the program when its directory is writable; otherwise in the
    // user's configuration directory, converting into ./cnvrt by default.
    const bool besideProgram = ProgramLocation::IsWritableDirectory(programDirectory);
    const std::string settingsDirectory =
        besideProgram ? programDirectory : ProgramLocation::UserSettingsDirectory();
    if (settingsDirectory.empty()) {
        return FailStartup("no writable directory for the settings: the program's directory is "
                           "read-only and neither XDG_CONFIG_HOME nor HOME can be used");
    }
    ConverterSettings settings(settingsDirectory, besideProgram ? programDirectory : "");
    const bool settingsExisted = settings.FileExists();
    if (settingsExisted) settings.Load();
    settings.PrepareDestination();
    if (!settingsExisted) settings.Save();
    if (!commandLine.outputDirectory.empty()) {
        settings.conversionDirectory = commandLine.outputDirectory;
        settings.PrepareDestination();
    }

    if (commandLine.showLogo) ConsoleText::PrintLogo(std::cout);
    if (!besideProgram) {
        std::cout << "Settings and log: " << settingsDirectory << "\n";
    }

    const ConversionLog log(settingsDirectory + ConversionLog::kFileName);
    BatchConverter converter(*engine, settings, log, std::cout);
    converter.SetErrorStream(std::cerr);
    converter.Run(commandLine);
    if (commandLine.longHelp) ConsoleText::PrintMoreHelp(std::cout);
    std::cout.flush();
    return converter.failures() == 0 ? kSucceeded : kSomeInputFailed;
}
