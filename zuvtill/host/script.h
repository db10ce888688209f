// The embedded host's console language: a script is read line by line
// (UTF-8; a line ending in ';' continues on the next, and ';' inside a
// line separates statements), and each statement is one of
//
//   ? expr, expr ...        prints each value on a line of its own
//   ?? expr, expr ...       prints the values on one line, separated by blanks
//   PUBLIC name [:= expr], ...  /  PRIVATE name [:= expr], ...
//   QUIT                    ends the script
//   expr                    evaluated for its effect (name := expr, calls)
//
// Comments: "//" or "&&" to the end of the line, a line whose first
// character is "*", and "/* ... */". A statement that fails prints one line
// naming its line on the error stream, and the script goes on.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace zuvtill::host {

// Runs the script; answers the number of statements that failed.
int RunScript(std::istream& script, std::ostream& out, std::ostream& errors);

// A statement's text without its comments, texts left as they stand.
// Sets inBlockComment when a "/*" is still open at the end of the line.
std::string StripComments(const std::string& line, bool& inBlockComment);

}  // namespace zuvtill::host
