// The engine's texts whose bytes no other test shows are the cp932 form of their Japanese
// text (the dialog's own texts are checked with the dialog).
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
};

TEST(Messages, AreTheCp932FormOfTheirText) {
  for (const Message& m : kMessages) {
    EXPECT_EQ(cp932_to_utf8(m.bytes), m.japanese);
    EXPECT_EQ(utf8_to_cp932(m.japanese), std::string(m.bytes));
  }
}

}  // namespace
}  // namespace bivox
