#include "ConsoleText.h"

namespace ConsoleText {

void PrintLogo(std::ostream& out) {
    out << "Korvex drawing converter 1.0: DXF drawings to Korvex drawing files\n"
        << "Copyright (C) the Korvex developers. Provided as is, without warranty.\n"
        << "\n";
}

void PrintHelp(std::ostream& out) {
    out << " korvexcmd [filename,-d:directory,-l:listFile] [-nologo,-h]\n"
        << "\n"
        << " filename - one file to convert\n"
        << " -d:directory - convert all dxf and dwf files from the directory\n"
        << " -l:listFileName - convert all files from the list file listFileName\n"
        << " -nologo - do not display logo\n"
        << " -h - show this help\n";
}

void PrintMoreHelp(std::ostream& out) {
    out << " -o:directory - write the drawing files into directory for this run\n"
        << " --help - show this help; --version - show the version\n"
        << "\n"
        << " Exit status: 0 when every drawing was written, 1 when any input was\n"
        << " missing, unreadable or failed, 2 when the command line cannot be used.\n";
}

void PrintVersion(std::ostream& out) {
    out << "korvexcmd (Korvex) 1.0\n";
}

}  // namespace ConsoleText
