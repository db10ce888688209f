// Which style file a run reads.
#pragma once

#include <string>

namespace zuvprint {

// The default style file: DOSPRINT/Default.dpc in the parent directory of
// the directory that holds the program.
std::string DomyslnyPlikStylu(const std::string& sciezkaProgramu);

// The style file parameter when it names an existing file, rebuilt as its
// directory, one '/', and its file name; a bare file name stays a name in
// the current directory. Otherwise the default style file.
std::string WybierzPlikStylu(const std::string& parametr, const std::string& sciezkaProgramu);

}  // namespace zuvprint
