// The converter's fixed console texts: the logo and the help.
#pragma once

#include <ostream>

namespace ConsoleText {

void PrintLogo(std::ostream& out);
void PrintHelp(std::ostream& out);
// The options of ours added after the help's fixed lines.
void PrintMoreHelp(std::ostream& out);
void PrintVersion(std::ostream& out);

}  // namespace ConsoleText
