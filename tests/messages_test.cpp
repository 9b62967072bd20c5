// The texts whose bytes no other test shows (the captions and notices of the dialog, the
// out-of-memory stop) are the cp932 form of their Japanese text.
#include "text/messages.hpp"

#include <gtest/gtest.h>

#include "text/encoding.hpp"

namespace bivox {
namespace {

struct Message {
  std::string_view bytes;
  std::string_view japanese;
};

const Message kMessages[] = {
    {msg::kOutOfMemory, "領域が確保できません。TooLarge。!!!\n"},
    {msg::kExpandComplete, "[%s]のマクロ展開を完了しました。"},
    {msg::kNoFile, "未指定"},
    {msg::kScoreReceived, "?.zrbファイルを、受け取りました。"},
    {msg::kNotAScore, "?.zrbファイルでは、ありません。"},
    {msg::kFileMissing, "ファイルとして存在しません。"},
    {msg::kFileNotFound, "ファイルが見つかりません"},
    {msg::kError, "エラー"},
    {msg::kNoMemory, "領域を確保できません"},
    {msg::kReadFailed, "読み込みに失敗しました"},
    {msg::kFileChosen, "ファイルが指定されました。"},
    {msg::kNoFileChosen, "Zerboファイル未指定。"},
    {msg::kSyntaxRunning, "構文テスト：実行中"},
    {msg::kExpandRunning0, "マクロ等展開：実行中=0"},
    {msg::kExpandRunning1, "マクロ等展開：実行中=1"},
    {msg::kStereoRunning0, "ステレオ化：実行中=0"},
    {msg::kStereoRunning1, "ステレオ化：実行中=1"},
    {msg::kDialogCaption, "ZerboステレオFilter"},
    {msg::kDialogFont, "ＭＳ Ｐゴシック"},
    {msg::kChooseFileButton, "Zerboファイル指定"},
    {msg::kSyntaxButton, "構文テスト"},
    {msg::kExpandButton, "マクロ等展開"},
    {msg::kStereoButton, "ステレオ化"},
    {msg::kLaunchButton, "Zerbo起動"},
    {msg::kExitButton, "終了"},
    {msg::kGuideItem0, "簡単取扱説明"},
    {msg::kGuideItem1, "Zerboファイル指定"},
    {msg::kGuideItem2, "構文テスト"},
    {msg::kGuideItem3, "マクロ等展開"},
    {msg::kGuideItem4, "ステレオ化"},
    {msg::kGuideItem5, "Zerbo起動"},
    {msg::kGuideItem6, "このボックス"},
    {msg::kGuideItem7, "終了"},
    {msg::kGuideItem8, "簡単実行"},
    {msg::kGuideItem9, "お役に立てば"},
    {msg::kGuideItem10, "補足説明"},
    {msg::kGuideItem11, "文書類"},
    {msg::kGuideFolder, "案内"},
    {msg::kGuideFileFormat, "案内\\__Guide%03d.txt"},
    {msg::kOpenDialogTitle, "Zerboファイルを指定してください。"},
    {msg::kOpenDialogInitialName, "Zerboファイル.zrb"},
    {msg::kAboutMenuItem, "Bivox のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
    {msg::kAboutCaption, "Bivoxのﾊﾞｰｼﾞｮﾝ情報"},
    {msg::kAboutPurpose, "スコアの構文テスト・マクロ展開・ステレオ化"},
    {msg::kAboutEdition, "Qt6 版 (Linux / Windows / macOS)"},
    {msg::kAboutHint, "使い方は「案内」の一覧からどうぞ。"},
};

TEST(Messages, AreTheCp932FormOfTheirText) {
  for (const Message& m : kMessages) {
    EXPECT_EQ(cp932_to_utf8(m.bytes), m.japanese);
    EXPECT_EQ(utf8_to_cp932(m.japanese), std::string(m.bytes));
  }
}

}  // namespace
}  // namespace bivox
