// Warrior list files: only an exact first line makes a list.

#include <gtest/gtest.h>

#include <filesystem>

#include "params/text_file.h"
#include "params/warrior_list_file.h"

namespace velmora {
namespace {

struct ListCase {
  std::vector<std::string> Lines;
  std::optional<std::vector<std::string>> Paths;
};

class ParamsWarriorList : public testing::TestWithParam<ListCase> {};

TEST_P(ParamsWarriorList, TakesEveryLineAfterAnExactHeader) {
  EXPECT_EQ(WarriorListPaths(GetParam().Lines), GetParam().Paths);
}

using Lines = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Cases, ParamsWarriorList,
    testing::Values(ListCase{{";warriorlist", "a.red", "b.red"}, Lines{"a.red", "b.red"}},
                    ListCase{{";warriorlist"}, Lines{}},
                    ListCase{{";warriorlist", "", "c.red"}, Lines{"", "c.red"}},
                    ListCase{{";warriorlist ", "a.red"}, std::nullopt},
                    ListCase{{";WarriorList", "a.red"}, std::nullopt},
                    ListCase{{";redcode-94", "mov 0, 1"}, std::nullopt},
                    ListCase{{}, std::nullopt}));

TEST(ParamsWarriorListFile, SavedListsReadBack) {
  const auto path = std::filesystem::temp_directory_path() / "velmora-list-test.txt";
  const Lines paths{"/tmp/a.red", "rel/b.red"};
  std::string error;
  ASSERT_TRUE(SaveWarriorListFile(path.string(), paths, error)) << error;
  Lines lines;
  ASSERT_TRUE(ReadTextLines(path.string(), lines));
  EXPECT_EQ(WarriorListPaths(lines), paths);
  std::filesystem::remove(path);
}

} // namespace
} // namespace velmora
