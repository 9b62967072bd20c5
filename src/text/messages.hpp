// The texts of the engine and the jobs, as the cp932 bytes that the score files and every
// front end use (the dialog keeps its own captions and boxes with it). Each constant carries
// its Japanese text in the comment beside it; the message tests check the bytes against
// those texts.
#pragma once

#include <string_view>

namespace bivox::msg {

// Fatal stops: written to the output file of the running pass, which then ends the job.
// 領域が確保できません。TooLarge。!!!\n
inline constexpr std::string_view kOutOfMemory =
    "\227\314\210\346\202\252\212m\225\333\202\305\202\253\202\334\202\271\202\361\201BTooLarge\201"
    "B!!!\n";
// StrSTMax_Over!!!\n
inline constexpr std::string_view kStackFull = "StrSTMax_Over!!!\n";
// push_char_buf_Over!!!\n
inline constexpr std::string_view kSpacingFull = "push_char_buf_Over!!!\n";
// LoopBun:buffer_max_over!!!\n
inline constexpr std::string_view kLoopBufferFull = "LoopBun:buffer_max_over!!!\n";
// MemberNameMaxOver[%d]!!!\n
inline constexpr std::string_view kMemberListFull = "MemberNameMaxOver[%d]!!!\n";
// WaonnMaxOver[%d]!!!\n
inline constexpr std::string_view kBracketChordTooLong = "WaonnMaxOver[%d]!!!\n";
// CodeMaxOver[%d]!!!\n
inline constexpr std::string_view kChordSymbolTooLong = "CodeMaxOver[%d]!!!\n";
// RennpuMaxOver[%d]!!!\n
inline constexpr std::string_view kTupletTooLong = "RennpuMaxOver[%d]!!!\n";
// MacroBlock[%d]Over!!!\n
inline constexpr std::string_view kMacroTableFull = "MacroBlock[%d]Over!!!\n";
// NamedMacro=OneMacroBuf[%d]Over!!!\n
inline constexpr std::string_view kNamedMacroTooLong = "NamedMacro=OneMacroBuf[%d]Over!!!\n";
// NonNamedMacro=OneMacroBuf[%d]Over!!!\n
inline constexpr std::string_view kNamelessMacroTooLong = "NonNamedMacro=OneMacroBuf[%d]Over!!!\n";
// NestDepth[%d]Over!!!\n
inline constexpr std::string_view kNestingTooDeep = "NestDepth[%d]Over!!!\n";

// Diagnostics and the labels and texts they are built from.
// メンバー宣言から,メンバー属性値設定までの間に、音が挟まれました。展開して下さい[%c]
inline constexpr std::string_view kMemberBetween =
    "\203\201\203\223\203o\201[\220\351\214\276\202\251\202\347,\203\201\203\223\203o\201["
    "\221\256\220\253\222l\220\335\222\350\202\334\202\305\202\314\212\324\202\311\201A\211\271\202"
    "\252\213\262\202\334\202\352\202\334\202\265\202\275\201B\223W\212J\202\265\202\304\211\272"
    "\202\263\202\242[%c]";
// ピッチU
inline constexpr std::string_view kPitchULabel = "\203s\203b\203`U";
// 考慮願います。
inline constexpr std::string_view kPleaseConsider =
    "\215l\227\266\212\350\202\242\202\334\202\267\201B";
// コード''考慮願います。
inline constexpr std::string_view kChordSymbolLabel =
    "\203R\201[\203h''\215l\227\266\212\350\202\242\202\334\202\267\201B";
// 和音[]考慮願います。
inline constexpr std::string_view kBracketChordLabel =
    "\230a\211\271[]\215l\227\266\212\350\202\242\202\334\202\267\201B";
// 省略連符がありました、展開して下さい
inline constexpr std::string_view kOmittedTuplet =
    "\217\310\227\252\230A\225\204\202\252\202\240\202\350\202\334\202\265\202\275\201A\223W\212J"
    "\202\265\202\304\211\272\202\263\202\242";
// 展開マクロがありました、展開して下さい
inline constexpr std::string_view kMacroReference =
    "\223W\212J\203}"
    "\203N\203\215\202\252\202\240\202\350\202\334\202\265\202\275\201A\223W\212J\202\265\202\304"
    "\211\272\202\263\202\242";
// 無名マクロ省略時展開がありました、展開して下さい
inline constexpr std::string_view kNamelessRecall =
    "\226\263\226\274\203}"
    "\203N\203\215\217\310\227\252\216\236\223W\212J\202\252\202\240\202\350\202\334\202\265\202"
    "\275\201A\223W\212J\202\265\202\304\211\272\202\263\202\242";
// 再現がありました、展開して下さい
inline constexpr std::string_view kChordRepeat =
    "\215\304\214\273\202\252\202\240\202\350\202\334\202\265\202\275\201A\223W\212J\202\265\202"
    "\304\211\272\202\263\202\242";

// Texts written into the rebuilt score.
// !-----マクロ定義が見つかりません-----!
inline constexpr std::string_view kMacroNotFound =
    "!-----\203}\203N\203\215\222\350\213`"
    "\202\252\214\251\202\302\202\251\202\350\202\334\202\271\202\361-----!";
// !-[%5.2f]-!
inline constexpr std::string_view kValueReport = "!-[%5.2f]-!";
//  @S0
inline constexpr std::string_view kPanZero = " @S0";
//  @S+%d
inline constexpr std::string_view kPanPositive = " @S+%d";
//  @S%d
inline constexpr std::string_view kPanNegative = " @S%d";
// ---OK---
inline constexpr std::string_view kEmptyMatch = "---OK---";
// ---non---
inline constexpr std::string_view kNoOutputName = "---non---";

// Trace lines for standard output.
// [%d]-[%d]:%f:%f\n
inline constexpr std::string_view kTracePitchRange = "[%d]-[%d]:%f:%f\n";
// -----macro_def-----\n
inline constexpr std::string_view kTraceMacroDefinition = "-----macro_def-----\n";
// -----macro_ref-----\n
inline constexpr std::string_view kTraceMacroReference = "-----macro_ref-----\n";
// comment_bikkuri_EOF\n
inline constexpr std::string_view kTraceUnclosedComment = "comment_bikkuri_EOF\n";

// Job summaries: the path, then the stop and end positions in hexadecimal.
// [%s]の構文テストを完了しました。
inline constexpr std::string_view kSyntaxComplete =
    "[%s]"
    "\202\314\215\\\225\266\203e\203X\203g\202\360\212\256\227\271\202\265\202\334\202\265\202\275"
    "\201B";
// [%s]のマクロ展開を完了しました。
inline constexpr std::string_view kExpandComplete =
    "[%s]\202\314\203}"
    "\203N\203\215\223W\212J\202\360\212\256\227\271\202\265\202\334\202\265\202\275\201B";
// [%s]のステレオ化を完了しました。
inline constexpr std::string_view kStereoComplete =
    "[%s]"
    "\202\314\203X\203e\203\214\203I\211\273\202\360\212\256\227\271\202\265\202\334\202\265\202"
    "\275\201B";
// [%s][%lx][%lx]の構文テスト、処理を打ち切りしました。
inline constexpr std::string_view kSyntaxStopped =
    "[%s][%lx][%lx]"
    "\202\314\215\\\225\266\203e\203X\203g\201A\217\210\227\235\202\360\221\305\202\277\220\330\202"
    "\350\202\265\202\334\202\265\202\275\201B";
// [%s][%lx][%lx]のマクロ展開、処理を打ち切りしました。
inline constexpr std::string_view kExpandStopped =
    "[%s][%lx][%lx]\202\314\203}"
    "\203N\203\215\223W\212J\201A\217\210\227\235\202\360\221\305\202\277\220\330\202\350\202\265"
    "\202\334\202\265\202\275\201B";
// [%s][%lx][%lx]のステレオ化、処理を打ち切りしました。
inline constexpr std::string_view kStereoStopped =
    "[%s][%lx][%lx]"
    "\202\314\203X\203e\203\214\203I\211\273\201A\217\210\227\235\202\360\221\305\202\277\220\330"
    "\202\350\202\265\202\334\202\265\202\275\201B";

}  // namespace bivox::msg
