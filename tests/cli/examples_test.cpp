// The project's example warriors assemble under the standard they are written for.

#include <gtest/gtest.h>

#include "assembler/assembler.h"
#include "cli/output.h"
#include "cli_support.h"
#include "tournament/warrior_input.h"

namespace velmora::cli {
namespace {

TEST(CliExamples, AssembleWithNameAndAuthor) {
  const std::vector<std::string> files = test::AllExamples();
  EXPECT_GE(files.size(), 7u);
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TNullMardexForm form;
    THeadlessPlatform platform;
    auto core = TCore::Create(DefaultParams(), form, platform);
    ASSERT_TRUE(core);
    InstallAssembler(*core);
    std::vector<TWarriorData> list;
    AddWarriorFile(platform, file, false, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Author, "Velmora");
    EXPECT_EQ(list[0].Name.rfind("Velmora ", 0), 0u) << list[0].Name;
    EXPECT_EQ(list[0].Source.at(0), ";redcode-94");
    const AssembledWarrior a = AssembleAlone(*core, list[0]);
    EXPECT_TRUE(a.Compiled) << (a.Lines.empty() ? "" : a.Lines[0]);
    EXPECT_TRUE(platform.Messages.empty());
  }
}

} // namespace
} // namespace velmora::cli
