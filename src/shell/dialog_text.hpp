// The dialog's own texts: its captions, guide items, message boxes and the names of its
// files, as cp932 bytes. Each constant carries its Japanese text in the comment beside it.
#pragma once

#include <string_view>

namespace bivox::shell::ui {

// Captions, items and message boxes.
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

// Why a job could not use a file, below its path in the "エラー" box.
// ファイルを読み込めません。
inline constexpr std::string_view kUnreadable =
    "\203t\203@\203C\203\213\202\360\223\307\202\335\215\236\202\337\202\334\202\271\202\361\201B";
// ファイルに書き込めません。
inline constexpr std::string_view kUnwritable =
    "\203t\203@\203C\203\213\202\311\217\221\202\253\215\236\202\337\202\334\202\271\202\361\201B";
// 出力先が入力ファイルと同じなので、書き込みません。
inline constexpr std::string_view kOutputIsInput =
    "\217o\227\315\220\346\202\252\223\374\227\315\203t\203@"
    "\203C\203\213\202\306\223\257\202\266\202\310\202\314\202\305\201A\217\221\202\253\215\236\202"
    "\335\202\334\202\271\202\361\201B";

}  // namespace bivox::shell::ui
