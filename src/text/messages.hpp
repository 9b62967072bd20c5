// Every text of the system itself, as the cp932 bytes that the score files and the
// dialog use. Each constant carries its Japanese text in the comment beside it; the
// message tests check the bytes against those texts.
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

// The dialog: captions, items and message boxes.
// 未指定
inline constexpr std::string_view kNoFile = "\226\242\216w\222\350";
// ?.zrbファイルを、受け取りました。
inline constexpr std::string_view kScoreReceived =
    "\077.zrb\203t\203@"
    "\203C\203\213\202\360\201A\216\363\202\257\216\346\202\350\202\334\202\265\202\275\201B";
// ?.zrbファイルでは、ありません。
inline constexpr std::string_view kNotAScore =
    "\077.zrb\203t\203@"
    "\203C\203\213\202\305\202\315\201A\202\240\202\350\202\334\202\271\202\361\201B";
// ファイルとして存在しません。
inline constexpr std::string_view kFileMissing =
    "\203t\203@"
    "\203C\203\213\202\306\202\265\202\304\221\266\215\335\202\265\202\334\202\271\202\361\201B";
// (?.zrb)File
inline constexpr std::string_view kFileMissingTitle = "(\077.zrb)File";
// ファイルが見つかりません
inline constexpr std::string_view kFileNotFound =
    "\203t\203@\203C\203\213\202\252\214\251\202\302\202\251\202\350\202\334\202\271\202\361";
// エラー
inline constexpr std::string_view kError = "\203G\203\211\201[";
// 領域を確保できません
inline constexpr std::string_view kNoMemory =
    "\227\314\210\346\202\360\212m\225\333\202\305\202\253\202\334\202\271\202\361";
// 読み込みに失敗しました
inline constexpr std::string_view kReadFailed =
    "\223\307\202\335\215\236\202\335\202\311\216\270\224s\202\265\202\334\202\265\202\275";
// ファイルが指定されました。
inline constexpr std::string_view kFileChosen =
    "\203t\203@\203C\203\213\202\252\216w\222\350\202\263\202\352\202\334\202\265\202\275\201B";
// Zerboファイル未指定。
inline constexpr std::string_view kNoFileChosen =
    "Zerbo\203t\203@\203C\203\213\226\242\216w\222\350\201B";
// 構文テスト：実行中
inline constexpr std::string_view kSyntaxRunning =
    "\215\\\225\266\203e\203X\203g\201F\216\300\215s\222\206";
// マクロ等展開：実行中=0
inline constexpr std::string_view kExpandRunning0 =
    "\203}\203N\203\215\223\231\223W\212J\201F\216\300\215s\222\206=0";
// マクロ等展開：実行中=1
inline constexpr std::string_view kExpandRunning1 =
    "\203}\203N\203\215\223\231\223W\212J\201F\216\300\215s\222\206=1";
// ステレオ化：実行中=0
inline constexpr std::string_view kStereoRunning0 =
    "\203X\203e\203\214\203I\211\273\201F\216\300\215s\222\206=0";
// ステレオ化：実行中=1
inline constexpr std::string_view kStereoRunning1 =
    "\203X\203e\203\214\203I\211\273\201F\216\300\215s\222\206=1";
// ZerboステレオFilter
inline constexpr std::string_view kDialogCaption = "Zerbo\203X\203e\203\214\203IFilter";
// ＭＳ Ｐゴシック
inline constexpr std::string_view kDialogFont = "\202l\202r \202o\203S\203V\203b\203N";
// Zerboファイル指定
inline constexpr std::string_view kChooseFileButton = "Zerbo\203t\203@\203C\203\213\216w\222\350";
// 構文テスト
inline constexpr std::string_view kSyntaxButton = "\215\\\225\266\203e\203X\203g";
// マクロ等展開
inline constexpr std::string_view kExpandButton = "\203}\203N\203\215\223\231\223W\212J";
// ステレオ化
inline constexpr std::string_view kStereoButton = "\203X\203e\203\214\203I\211\273";
// Zerbo起動
inline constexpr std::string_view kLaunchButton = "Zerbo\213N\223\256";
// 終了
inline constexpr std::string_view kExitButton = "\217I\227\271";
// 簡単取扱説明
inline constexpr std::string_view kGuideItem0 = "\212\310\222P\216\346\210\265\220\340\226\276";
// Zerboファイル指定
inline constexpr std::string_view kGuideItem1 = "Zerbo\203t\203@\203C\203\213\216w\222\350";
// 構文テスト
inline constexpr std::string_view kGuideItem2 = "\215\\\225\266\203e\203X\203g";
// マクロ等展開
inline constexpr std::string_view kGuideItem3 = "\203}\203N\203\215\223\231\223W\212J";
// ステレオ化
inline constexpr std::string_view kGuideItem4 = "\203X\203e\203\214\203I\211\273";
// Zerbo起動
inline constexpr std::string_view kGuideItem5 = "Zerbo\213N\223\256";
// このボックス
inline constexpr std::string_view kGuideItem6 = "\202\261\202\314\203{\203b\203N\203X";
// 終了
inline constexpr std::string_view kGuideItem7 = "\217I\227\271";
// 簡単実行
inline constexpr std::string_view kGuideItem8 = "\212\310\222P\216\300\215s";
// お役に立てば
inline constexpr std::string_view kGuideItem9 = "\202\250\226\360\202\311\227\247\202\304\202\316";
// 補足説明
inline constexpr std::string_view kGuideItem10 = "\225\342\221\253\220\340\226\276";
// 文書類
inline constexpr std::string_view kGuideItem11 = "\225\266\217\221\227\336";
// 案内
inline constexpr std::string_view kGuideFolder = "\210\304\223\340";
// 案内\__Guide%03d.txt
inline constexpr std::string_view kGuideFileFormat = "\210\304\223\340\\__Guide%03d.txt";
// Bivox.html
inline constexpr std::string_view kHtmlDocument = "Bivox.html";
// Bivox.ini
inline constexpr std::string_view kScratchFile = "Bivox.ini";
// Zerboファイルを指定してください。
inline constexpr std::string_view kOpenDialogTitle =
    "Zerbo\203t\203@"
    "\203C\203\213\202\360\216w\222\350\202\265\202\304\202\255\202\276\202\263\202\242\201B";
// Zerboファイル.zrb
inline constexpr std::string_view kOpenDialogInitialName = "Zerbo\203t\203@\203C\203\213.zrb";
// Zerbo Files (*.zrb)
inline constexpr std::string_view kOpenDialogFilter = "Zerbo Files (*.zrb)";
// Bivox のﾊﾞｰｼﾞｮﾝ情報(&A)...
inline constexpr std::string_view kAboutMenuItem =
    "Bivox \202\314\312\336\260\274\336\256\335\217\356\225\361(&A)...";
// Bivoxのﾊﾞｰｼﾞｮﾝ情報
inline constexpr std::string_view kAboutCaption =
    "Bivox\202\314\312\336\260\274\336\256\335\217\356\225\361";
// ZerboStereoFilter
inline constexpr std::string_view kAboutProduct = "ZerboStereoFilter";
// Ver:1.11.2 2003/06/22
inline constexpr std::string_view kAboutVersion = "Ver:1.11.2 2003/06/22";
// スコアの構文テスト・マクロ展開・ステレオ化
inline constexpr std::string_view kAboutPurpose =
    "\203X\203R\203A\202\314\215\134\225\266\203e\203X\203g\201E\203}\203N\203\215\223W\212J"
    "\201E\203X\203e\203\214\203I\211\273";
// Qt6 版 (Linux / Windows / macOS)
inline constexpr std::string_view kAboutEdition = "Qt6 \224\305 (Linux / Windows / macOS)";
// 使い方は「案内」の一覧からどうぞ。
inline constexpr std::string_view kAboutHint =
    "\216g\202\242\225\373\202\315\201u\210\304\223\340\201v\202\314\210\352\227\227"
    "\202\251\202\347\202\307\202\244\202\274\201B";

}  // namespace bivox::msg
