// The group type is written into the resource script bare: a type that the
// script would read as more than one word is refused before anything is made,
// by the build and by pagefold-cli.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "core/build_command.h"
#include "core/resource_type_rule.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using pagefold::IsPlainResourceType;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
namespace fs = std::filesystem;

const char kInjected[] = "X\"SECRET.TXT\"//";
const char kRefusal[] = "Тип для группировки может содержать только буквы, цифры и знак _";

TEST(IsPlainResourceType, TakesLettersDigitsAndUnderscoresAfterTransliteration) {
  using Types = std::vector<std::string>;
  for (const std::string& type : Types{"IMG", "img_2", "10", "_", W("Картинки"), W("тип файла")})
    EXPECT_TRUE(IsPlainResourceType(type)) << type;
  for (const std::string& type : Types{kInjected, "", "A\"B", "A/B", "A//", "A\\B", "A\tB", "A\nB", "A\x7f", "A.B",
                                       "A-B", "A;B", "A{", W("Объект"), W("№1"), std::string("A\0B", 3)})
    EXPECT_FALSE(IsPlainResourceType(type)) << type;
}

TEST(GroupTypeRefused, ByTheBuildBeforeAnythingIsStaged) {
  ScratchDir source, target;
  WriteFile(source.path() / "index.htm", "<p>");
  testing_support::RecordingHost host;
  host.sourceFolder = source.str();
  host.ticked = {"index.htm"};
  host.startFile = "index.htm";
  pagefold::BuildCommand build;
  build.ResourceFolder = target.str() + "/";
  host.resourceFile = build.ResourceFolder + "site.res";
  build.GroupType = kInjected;
  EXPECT_EQ(build.Run(host), pagefold::BuildOutcome::NotStarted);
  EXPECT_EQ(host.log, std::vector<std::string>{std::string("message Внимание | ") + kRefusal});
  EXPECT_TRUE(fs::is_empty(target.path()));
}

TEST(GroupTypeRefused, ByPagefoldCliBeforeAnythingIsStaged) {
  ScratchDir work, target;
  WriteFile(work.path() / "site" / "index.htm", "<p>");
  WriteFile(work.path() / "SECRET.TXT", "secret");
  const fs::path err = work.path() / "stderr.txt";
  const std::string command = "cd '" + work.str() + "' && '" PAGEFOLD_CLI_PATH "' --group '" + kInjected +
                              "' site '" + (target.path() / "out.res").string() + "' 2> '" + err.string() + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(ReadFile(err), std::string(kRefusal) + "\n");
  EXPECT_TRUE(fs::is_empty(target.path()));
}

}  // namespace
