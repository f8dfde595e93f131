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
// 見る
inline constexpr std::string_view kDisplay = "\x8C\xA9\x82\xE9";
// 打つ
inline constexpr std::string_view kInput = "\x91\xC5\x82\xC2";
// はじめ
inline constexpr std::string_view kBegin = "\x82\xCD\x82\xB6\x82\xDF";
// くり返し
inline constexpr std::string_view kRepeat = "\x82\xAD\x82\xE8\x95\xD4\x82\xB5";
// 開く
inline constexpr std::string_view kOpen = "\x8A\x4A\x82\xAD";
// 閉じる
inline constexpr std::string_view kClose = "\x95\xC2\x82\xB6\x82\xE9";
// 読む
inline constexpr std::string_view kRead = "\x93\xC7\x82\xDE";
// 書く
inline constexpr std::string_view kWrite = "\x8F\x91\x82\xAD";
// おわり
inline constexpr std::string_view kEnd = "\x82\xA8\x82\xED\x82\xE8";
// 読みきり
inline constexpr std::string_view kReadAll = "\x93\xC7\x82\xDD\x82\xAB\x82\xE8";

// The first character of a numeric and of a string variable's name, and of
// a loop counter's display name.
// 数
inline constexpr std::string_view kNumericMark = "\x90\x94";
// 字
inline constexpr std::string_view kStringMark = "\x8E\x9A";
// 復
inline constexpr std::string_view kCounterMark = "\x95\x9C";

// The full-width space (U+3000), which is no blank to the tokenizer.
// 　
inline constexpr std::string_view kWideSpace = "\x81\x40";

// What a character without a Shift-JIS form becomes where zemuc reads an
// editor's text: no delimiter, no keyword, one character wide.
// 〓
inline constexpr std::string_view kStandIn = "\x81\xAC";

// Console dialogue of the command line.
// 使い方まちごうとる．\n
inline constexpr std::string_view kUsageWrong =
    "\x8E\x67\x82\xA2\x95\xFB\x82\xDC\x82\xBF\x82\xB2\x82\xA4\x82\xC6\x82\xE9"
    "\x81\x44\n";
// 「zemucfilter 『ファイルの名前.zem』」じゃきね．\n
inline constexpr std::string_view kUsageForm =
    "\x81\x75zemucfilter \x81\x77\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC"
    "\x96\xBC\x91\x4F.zem\x81\x78\x81\x76\x82\xB6\x82\xE1\x82\xAB\x82\xCB"
    "\x81\x44\n";
// いま，%sを%sに書き換えとるきね．\n, in three pieces around the two names.
// いま，
inline constexpr std::string_view kRewritingNow = "\x82\xA2\x82\xDC\x81\x43";
// を
inline constexpr std::string_view kRewritingInto = "\x82\xF0";
// に書き換えとるきね．\n
inline constexpr std::string_view kRewritingEnd =
    "\x82\xC9\x8F\x91\x82\xAB\x8A\xB7\x82\xA6\x82\xC6\x82\xE9\x82\xAB\x82\xCB"
    "\x81\x44\n";
// cに書き換えたきね．\n
inline constexpr std::string_view kSuccess =
    "c\x82\xC9\x8F\x91\x82\xAB\x8A\xB7\x82\xA6\x82\xBD\x82\xAB\x82\xCB\x81\x44"
    "\n";
// ちゃんと，約束を見ちゅう？　見直し，しとおせ．\n
inline constexpr std::string_view kFailure =
    "\x82\xBF\x82\xE1\x82\xF1\x82\xC6\x81\x43\x96\xF1\x91\xA9\x82\xF0\x8C\xA9"
    "\x82\xBF\x82\xE3\x82\xA4\x81\x48\x81\x40\x8C\xA9\x92\xBC\x82\xB5\x81\x43"
    "\x82\xB5\x82\xC6\x82\xA8\x82\xB9\x81\x44\n";

// Console texts of the translation passes; each follows a file name.
// (a space)なんて無いぜ．\n
inline constexpr std::string_view kNotFound =
    " \x82\xC8\x82\xF1\x82\xC4\x96\xB3\x82\xA2\x82\xBA\x81\x44\n";
// (a space)を読みゆう．\n
inline constexpr std::string_view kReading =
    " \x82\xF0\x93\xC7\x82\xDD\x82\xE4\x82\xA4\x81\x44\n";
// (a space)へ書きゆう．\n
inline constexpr std::string_view kWriting =
    " \x82\xD6\x8F\x91\x82\xAB\x82\xE4\x82\xA4\x81\x44\n";
// Comes before the rejected line.
// 次の行おかしい\n
inline constexpr std::string_view kBadLine =
    "\x8E\x9F\x82\xCC\x8D\x73\x82\xA8\x82\xA9\x82\xB5\x82\xA2\n";

// Japanese text inside the generated C program.
// ファイル%sがないよ．
inline constexpr std::string_view kNoFileMessage =
    "\x83\x74\x83\x40\x83\x43\x83\x8B"
    "%s\x82\xAA\x82\xC8\x82\xA2\x82\xE6\x81\x44";
// データ読みすぎ．
inline constexpr std::string_view kReadTooFar =
    "\x83\x66\x81\x5B\x83\x5E\x93\xC7\x82\xDD\x82\xB7\x82\xAC\x81\x44";
// --->何か文字を入れれば終わるよ
inline constexpr std::string_view kEndPrompt =
    "--->\x89\xBD\x82\xA9\x95\xB6\x8E\x9A\x82\xF0\x93\xFC\x82\xEA\x82\xEA\x82"
    "\xCE\x8F\x49\x82\xED\x82\xE9\x82\xE6";

}  // namespace zemuc::sjis

#endif  // ZEMUC_TEXT_SJIS_TEXTS_H_
