// The project's example warriors assemble under the standard they are written for.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "cli/output.h"
#include "tournament/warrior_input.h"
#include "cli_support.h"

namespace velmora::cli {
namespace {

class CliExamples : public testing::TestWithParam<std::string> {};

TEST_P(CliExamples, AssembleWithNameAndAuthor) {
  TNullMardexForm form;
  THeadlessPlatform platform;
  auto core = TCore::Create(DefaultParams(), form, platform);
  ASSERT_TRUE(core);
  InstallAssembler(*core);
  std::vector<TWarriorData> list;
  AddWarriorFile(platform, GetParam(), false, list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Author, "Velmora");
  EXPECT_EQ(list[0].Name.rfind("Velmora ", 0), 0u) << list[0].Name;
  EXPECT_EQ(list[0].Source.at(0), ";redcode-94");
  const AssembledWarrior a = AssembleAlone(*core, list[0]);
  EXPECT_TRUE(a.Compiled) << (a.Lines.empty() ? "" : a.Lines[0]);
  EXPECT_TRUE(platform.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(All, CliExamples, testing::ValuesIn(test::AllExamples()),
                         [](const testing::TestParamInfo<std::string>& param) {
                           const std::string& p = param.param;
                           const size_t slash = p.find_last_of('/') + 1;
                           return p.substr(slash, p.size() - slash - 4);
                         });

TEST(CliExamplesSet, HasTheSevenStrategies) {
  std::vector<std::string> names;
  for (const std::string& p : test::AllExamples())
    names.push_back(p.substr(p.find_last_of('/') + 1));
  EXPECT_EQ(names, (std::vector<std::string>{"clear.red", "dwarf.red", "imp.red", "paper.red",
                                             "scanner.red", "stone.red", "switcher.red"}));
}

} // namespace
} // namespace velmora::cli
