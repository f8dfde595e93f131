// Tests write their sources in readable UTF-8; this turns them into the
// Shift-JIS (code page 932) bytes the translator reads.
#ifndef ZEMUC_TESTS_SUPPORT_SJIS_H_
#define ZEMUC_TESTS_SUPPORT_SJIS_H_

#include <string>
#include <string_view>

namespace zemuc::testing {

// Converts UTF-8 text to CP932. Aborts the test run on text that has no
// CP932 form, since that is a fault in the test itself.
std::string sjis(std::string_view utf8);

// The reverse, for readable failure messages.
std::string utf8(std::string_view sjis_text);

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_SJIS_H_
