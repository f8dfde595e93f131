// Texts that many tests expect, in UTF-8: the fixed pieces of the console
// dialogue and of every generated program.
#ifndef ZEMUC_TESTS_SUPPORT_EXPECTED_H_
#define ZEMUC_TESTS_SUPPORT_EXPECTED_H_

#include <string>

namespace zemuc::testing {

inline const std::string kUsage =
    "使い方まちごうとる．\n"
    "「zemucfilter 『ファイルの名前.zem』」じゃきね．\n";
inline const std::string kFailure =
    "ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n";
inline const std::string kSuccess = "cに書き換えたきね．\n";
inline const std::string kDumpHeader =
    " dump variables ******************************\n";
inline const std::string kDumpFooter =
    "**********************************************\n";

// The head of every program with empty tables, and the tail.
inline const std::string kProgramHead =
    "#include <stdio.h>\n"
    "#include <math.h>\n"
    "#include <stdlib.h>\n"
    "#include <string.h>\n"
    "#include <time.h>\n"
    "main() {\n"
    "\tchar dummy[100];\n";
inline const std::string kProgramTail =
    "/* end procedure */\n"
    "\tERROR_END:;\n"
    "\tprintf(\"--->何か文字を入れれば終わるよ\");\n"
    "\tscanf(\"%s\", &dummy);\n"
    "\treturn 0;\n"
    "}\n";

inline std::string rewriting(const std::string& source,
                             const std::string& output) {
  return "いま，" + source + "を" + output + "に書き換えとるきね．\n";
}
inline std::string reading(const std::string& source) {
  return source + " を読みゆう．\n";
}
inline std::string writing(const std::string& output) {
  return output + " へ書きゆう．\n";
}
inline std::string missing(const std::string& name) {
  return name + " なんて無いぜ．\n";
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_EXPECTED_H_
