// Every fixed Shift-JIS (code page 932) byte string of the translator.
//
// The bytes are written as hex escapes, never as raw Shift-JIS: a trail byte
// of 0x5C would read as a backslash inside a C++ literal. The comment beside
// each text gives it in UTF-8 ("\n" is a line feed).
#ifndef ZEMUC_TEXT_SJIS_TEXTS_H_
#define ZEMUC_TEXT_SJIS_TEXTS_H_

#include <string_view>

namespace zemuc::sjis {

// Statement keywords.
inline constexpr std::string_view kDisplay = "\x8C\xA9\x82\xE9";  // 見る
inline constexpr std::string_view kInput = "\x91\xC5\x82\xC2";    // 打つ
inline constexpr std::string_view kBegin = "\x82\xCD\x82\xB6\x82\xDF";  // はじめ
inline constexpr std::string_view kRepeat =
    "\x82\xAD\x82\xE8\x95\xD4\x82\xB5";                           // くり返し
inline constexpr std::string_view kOpen = "\x8A\x4A\x82\xAD";     // 開く
inline constexpr std::string_view kClose = "\x95\xC2\x82\xB6\x82\xE9";  // 閉じる
inline constexpr std::string_view kRead = "\x93\xC7\x82\xDE";     // 読む
inline constexpr std::string_view kWrite = "\x8F\x91\x82\xAD";    // 書く
inline constexpr std::string_view kEnd = "\x82\xA8\x82\xED\x82\xE8";  // おわり
inline constexpr std::string_view kReadAll =
    "\x93\xC7\x82\xDD\x82\xAB\x82\xE8";                           // 読みきり

// The first character of a numeric and of a string variable's name, and of
// a loop counter's display name.
inline constexpr std::string_view kNumericMark = "\x90\x94";  // 数
inline constexpr std::string_view kStringMark = "\x8E\x9A";   // 字
inline constexpr std::string_view kCounterMark = "\x95\x9C";  // 復

// The full-width space, which is no blank to the tokenizer.
inline constexpr std::string_view kWideSpace = "\x81\x40";  // 　

// Console dialogue of the command line.
inline constexpr std::string_view kUsageWrong =  // 使い方まちごうとる．\n
    "\x8E\x67\x82\xA2\x95\xFB\x82\xDC\x82\xBF\x82\xB2\x82\xA4\x82\xC6\x82\xE9"
    "\x81\x44\n";
inline constexpr std::string_view kUsageForm =  // 「zemucfilter 『ファイルの名前.zem』」じゃきね．\n
    "\x81\x75zemucfilter \x81\x77\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x96"
    "\xBC\x91\x4F.zem\x81\x78\x81\x76\x82\xB6\x82\xE1\x82\xAB\x82\xCB\x81\x44\n";
// いま，%sを%sに書き換えとるきね．\n, in three pieces around the two names.
inline constexpr std::string_view kRewritingNow = "\x82\xA2\x82\xDC\x81\x43";  // いま，
inline constexpr std::string_view kRewritingInto = "\x82\xF0";                // を
inline constexpr std::string_view kRewritingEnd =  // に書き換えとるきね．\n
    "\x82\xC9\x8F\x91\x82\xAB\x8A\xB7\x82\xA6\x82\xC6\x82\xE9\x82\xAB\x82\xCB"
    "\x81\x44\n";
inline constexpr std::string_view kSuccess =  // cに書き換えたきね．\n
    "c\x82\xC9\x8F\x91\x82\xAB\x8A\xB7\x82\xA6\x82\xBD\x82\xAB\x82\xCB\x81\x44"
    "\n";
inline constexpr std::string_view kFailure =  // ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n
    "\x82\xBF\x82\xE1\x82\xF1\x82\xC6\x81\x43\x96\xF1\x91\xA9\x82\xF0\x8C\xA9"
    "\x82\xBF\x82\xE3\x82\xA4\x81\x48\x81\x40\x8C\xA9\x92\xBC\x82\xB5\x81\x43"
    "\x82\xB5\x82\xC6\x82\xA8\x82\xB9\x81\x44\n";

// Console texts of the translation passes; each follows a file name.
inline constexpr std::string_view kNotFound =  //  なんて無いぜ．\n
    " \x82\xC8\x82\xF1\x82\xC4\x96\xB3\x82\xA2\x82\xBA\x81\x44\n";
inline constexpr std::string_view kReading =  //  を読みゆう．\n
    " \x82\xF0\x93\xC7\x82\xDD\x82\xE4\x82\xA4\x81\x44\n";
inline constexpr std::string_view kWriting =  //  へ書きゆう．\n
    " \x82\xD6\x8F\x91\x82\xAB\x82\xE4\x82\xA4\x81\x44\n";
// Comes before the rejected line.
inline constexpr std::string_view kBadLine =  // 次の行おかしい\n
    "\x8E\x9F\x82\xCC\x8D\x73\x82\xA8\x82\xA9\x82\xB5\x82\xA2\n";

// Japanese text inside the generated C program.
inline constexpr std::string_view kNoFileMessage =  // ファイル%sがないよ．
    "\x83\x74\x83\x40\x83\x43\x83\x8B%s\x82\xAA\x82\xC8\x82\xA2\x82\xE6\x81\x44";
inline constexpr std::string_view kReadTooFar =  // データ読みすぎ．
    "\x83\x66\x81\x5B\x83\x5E\x93\xC7\x82\xDD\x82\xB7\x82\xAC\x81\x44";
inline constexpr std::string_view kEndPrompt =  // --->何か文字を入れれば終わるよ
    "--->\x89\xBD\x82\xA9\x95\xB6\x8E\x9A\x82\xF0\x93\xFC\x82\xEA\x82\xEA\x82"
    "\xCE\x8F\x49\x82\xED\x82\xE9\x82\xE6";

}  // namespace zemuc::sjis

#endif  // ZEMUC_TEXT_SJIS_TEXTS_H_
