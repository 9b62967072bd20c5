// Every text of the engine and the jobs is the cp932 form of its Japanese text.
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
    {msg::kStackFull, "StrSTMax_Over!!!\n"},
    {msg::kSpacingFull, "push_char_buf_Over!!!\n"},
    {msg::kLoopBufferFull, "LoopBun:buffer_max_over!!!\n"},
    {msg::kMemberListFull, "MemberNameMaxOver[%d]!!!\n"},
    {msg::kBracketChordTooLong, "WaonnMaxOver[%d]!!!\n"},
    {msg::kChordSymbolTooLong, "CodeMaxOver[%d]!!!\n"},
    {msg::kTupletTooLong, "RennpuMaxOver[%d]!!!\n"},
    {msg::kMacroTableFull, "MacroBlock[%d]Over!!!\n"},
    {msg::kNamedMacroTooLong, "NamedMacro=OneMacroBuf[%d]Over!!!\n"},
    {msg::kNamelessMacroTooLong, "NonNamedMacro=OneMacroBuf[%d]Over!!!\n"},
    {msg::kNestingTooDeep, "NestDepth[%d]Over!!!\n"},
    {msg::kMemberBetween,
     "メンバー宣言から,メンバー属性値設定までの間に、音が挟まれました。展開して下さい[%c]"},
    {msg::kPitchULabel, "ピッチU"},
    {msg::kPleaseConsider, "考慮願います。"},
    {msg::kChordSymbolLabel, "コード''考慮願います。"},
    {msg::kBracketChordLabel, "和音[]考慮願います。"},
    {msg::kOmittedTuplet, "省略連符がありました、展開して下さい"},
    {msg::kMacroReference, "展開マクロがありました、展開して下さい"},
    {msg::kNamelessRecall, "無名マクロ省略時展開がありました、展開して下さい"},
    {msg::kChordRepeat, "再現がありました、展開して下さい"},
    {msg::kMacroNotFound, "!-----マクロ定義が見つかりません-----!"},
    {msg::kValueReport, "!-[%5.2f]-!"},
    {msg::kPanZero, " @S0"},
    {msg::kPanPositive, " @S+%d"},
    {msg::kPanNegative, " @S%d"},
    {msg::kEmptyMatch, "---OK---"},
    {msg::kNoOutputName, "---non---"},
    {msg::kTracePitchRange, "[%d]-[%d]:%f:%f\n"},
    {msg::kTraceMacroDefinition, "-----macro_def-----\n"},
    {msg::kTraceMacroReference, "-----macro_ref-----\n"},
    {msg::kTraceUnclosedComment, "comment_bikkuri_EOF\n"},
    {msg::kSyntaxComplete, "[%s]の構文テストを完了しました。"},
    {msg::kExpandComplete, "[%s]のマクロ展開を完了しました。"},
    {msg::kStereoComplete, "[%s]のステレオ化を完了しました。"},
    {msg::kSyntaxStopped, "[%s][%lx][%lx]の構文テスト、処理を打ち切りしました。"},
    {msg::kExpandStopped, "[%s][%lx][%lx]のマクロ展開、処理を打ち切りしました。"},
    {msg::kStereoStopped, "[%s][%lx][%lx]のステレオ化、処理を打ち切りしました。"},
};

TEST(Messages, AreTheCp932FormOfTheirText) {
  for (const Message& m : kMessages) {
    EXPECT_EQ(cp932_to_utf8(m.bytes), m.japanese);
    EXPECT_EQ(utf8_to_cp932(m.japanese), std::string(m.bytes));
  }
}

}  // namespace
}  // namespace bivox
