// The converter's command-line record: the file to convert, the directory
// and list modes, and whether the logo is shown.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfoExt {
public:
    // Feeds every argument after the program name through ParseParam.
    void ParseCommandLine(const std::vector<std::string>& arguments);

    // One argument. An option has its leading option character removed
    // before it arrives here, and isFlag set.
    void ParseParam(const std::string& param, bool isFlag);

    bool WantsHelp() const {
        return fileName.empty() && !directoryMode && !listMode;
    }
    // Why the command line cannot be used ("" when it can): an unknown
    // option, or -d:, -l: or -o: without its argument.
    const std::string& usageError() const { return usageError_; }

    std::string fileName;  // the first plain argument; later ones are ignored
    bool showLogo = true;
    bool batch = false;
    bool directoryMode = false;
    bool listMode = false;
    std::string directory;
    std::string listFile;
    bool longHelp = false;     // --help: the help with our own options too
    bool showVersion = false;  // --version
    // -o:directory: the destination for this run only; "" keeps the settings'.
    std::string outputDirectory;

private:
    void RejectOnce(const std::string& reason);

    std::string usageError_;
};
