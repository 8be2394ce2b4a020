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

constexpr int kStartupFailed = 1;

int FailStartup(const std::string& reason) {
    std::cerr << "Fatal Error: MFC initialization failed" << std::endl;
    std::cerr << "korvexcmd: " << reason << std::endl;
    return kStartupFailed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string programDirectory = ProgramLocation::Directory();
    if (programDirectory.empty()) return FailStartup("cannot locate the program file");
    const auto engine = EngineApi::BindByOrdinal();
    if (!engine) {
        return FailStartup(std::string("cannot bind the engine library ") + EngineApi::kLibraryName);
    }

    ConverterSettings settings(programDirectory);
    const bool settingsExisted = settings.FileExists();
    if (settingsExisted) settings.Load();
    settings.PrepareDestination();
    if (!settingsExisted) settings.Save();

    CCommandLineInfoExt commandLine;
    commandLine.ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.showLogo) ConsoleText::PrintLogo(std::cout);

    const ConversionLog log(programDirectory + ConversionLog::kFileName);
    BatchConverter(*engine, settings, log, std::cout).Run(commandLine);
    return 0;
}
