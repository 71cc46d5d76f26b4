// Whole builds driven through the window, from the folder dialog to the .res.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <map>

#include "test_support.h"
#include "window_fixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WindowTest;

namespace fs = std::filesystem;

const fs::path kSite = fs::path(PAGEFOLD_EXAMPLES_DIR) / "site";

// The resources of a 32-bit .res file, by "TYPE/NAME"; names and types are
// strings there (ASCII in our builds), ordinals show as "#N".
std::map<std::string, std::string> ReadResources(const std::string& res) {
  const auto u32 = [&](size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(res.at(at + i));
    return value;
  };
  const auto u16 = [&](size_t at) { return static_cast<uint16_t>(u32(at) & 0xFFFF); };
  const auto nameAt = [&](size_t& at) {
    std::string name;
    if (u16(at) == 0xFFFF) {
      name = "#" + std::to_string(u16(at + 2));
      at += 4;
      return name;
    }
    for (; u16(at) != 0; at += 2) name += static_cast<char>(u16(at));
    at += 2;
    return name;
  };
  std::map<std::string, std::string> resources;
  for (size_t entry = 0; entry + 32 <= res.size();) {
    const uint32_t dataSize = u32(entry), headerSize = u32(entry + 4);
    size_t at = entry + 8;
    const std::string type = nameAt(at);
    const std::string name = nameAt(at);
    if (dataSize > 0) resources[type + "/" + name] = res.substr(entry + headerSize, dataSize);
    entry = (entry + headerSize + dataSize + 3) & ~size_t{3};
  }
  return resources;
}

class WholeBuildTest : public WindowTest {
 protected:
  void SetUp() override {
    ListFolder(QString::fromStdString(kSite.string()));
    form1.N1->trigger();
    form1.show();
    form1.Button7->click();
    dialogs.saveAnswers.push_back(QString::fromStdString((target.path() / "site").string()));
    form1.save->click();
  }

  void Pick(const QString& page) {
    const auto found = form3.ListBox1->findItems(page, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(form3.ListBox1->viewport(), Qt::LeftButton, {},
                      form3.ListBox1->visualItemRect(found.front()).center());
  }

  // The staged resource of a listed page: its number is its place among the ticked files.
  std::string StagedPage(const std::map<std::string, std::string>& resources, const QString& page) {
    const int number = static_cast<int>(Ticked().indexOf(page)) + 1;
    return resources.at("HTM/SEARCH_FILE_NOMBER_" + std::to_string(number));
  }

  ScratchDir target;
};

TEST_F(WholeBuildTest, BuildsTheSampleSiteWithTheStartPagePickedInTheChooser) {
  EXPECT_EQ(Texts(*form3.ListBox1), (QStringList{"index.htm", "pages\\about.htm", "pages\\news.html"}));
  Pick("index.htm");
  EXPECT_EQ(form1.Edit6->text(), QString::fromStdString((target.path() / "site.res").string()));
  form1.Button3->click();

  EXPECT_EQ(dialogs.boxes, QStringList{QString::fromUtf8("message|Внимание|Сбор закончен !!!")});
  EXPECT_EQ(form1.PanelText(0), "");
  EXPECT_EQ(form1.PanelText(1), "");
  EXPECT_EQ(form1.ProgressBar1->value(), 0);
  EXPECT_TRUE(form1.GroupBox1->isEnabled() && form1.Button3->isEnabled());
  EXPECT_FALSE(fs::exists(target.path() / "ARH"));
  EXPECT_TRUE(fs::exists(target.path() / "site.rc"));
  const auto resources = ReadResources(ReadFile(target.path() / "site.res"));
  ASSERT_TRUE(resources.count("HTML/INDEX"));
  ASSERT_TRUE(resources.count("HTML/FILELIST"));
  EXPECT_EQ(resources.at("HTML/INDEX"), StagedPage(resources, "index.htm"));
  // Every ticked file but the unused picture (number 4), the file list and the start page; the
  // picture that only the style sheet uses (3) is packed.
  QStringList names;
  for (const auto& entry : resources) names << QString::fromStdString(entry.first);
  EXPECT_EQ(names, (QStringList{"CSS/SEARCH_FILE_NOMBER_10", "GIF/SEARCH_FILE_NOMBER_1", "GIF/SEARCH_FILE_NOMBER_2",
                                "GIF/SEARCH_FILE_NOMBER_3", "GIF/SEARCH_FILE_NOMBER_5", "GIF/SEARCH_FILE_NOMBER_6",
                                "HTM/SEARCH_FILE_NOMBER_7", "HTM/SEARCH_FILE_NOMBER_8", "HTML/FILELIST", "HTML/INDEX",
                                "HTML/SEARCH_FILE_NOMBER_9"}));
}

TEST_F(WholeBuildTest, APickInTheChooserDuringTheBuildReachesTheStartFile) {
  Pick("index.htm");
  // The pick is made at the first event the build hands out once the main window is disabled.
  bool pickedWhileDisabled = false;
  QTimer picker;
  QObject::connect(&picker, &QTimer::timeout, [&] {
    if (form1.GroupBox1->isEnabled() || pickedWhileDisabled) return;
    EXPECT_TRUE(form3.isEnabled());
    Pick("pages\\about.htm");
    pickedWhileDisabled = form1.Edit5->text() == "pages\\about.htm";
  });
  picker.start(0);
  form1.Button3->click();
  picker.stop();

  EXPECT_TRUE(pickedWhileDisabled);
  EXPECT_EQ(form1.Edit5->text(), "pages\\about.htm");
  const auto resources = ReadResources(ReadFile(target.path() / "site.res"));
  ASSERT_TRUE(resources.count("HTML/INDEX"));
  EXPECT_EQ(resources.at("HTML/INDEX"), StagedPage(resources, "pages\\about.htm"));
  EXPECT_NE(resources.at("HTML/INDEX"), StagedPage(resources, "index.htm"));
}

// The closing message names a start page that was left unticked and the
// links left without their files; a short one comes in the plain box.
TEST_F(WholeBuildTest, AnUntickedStartPageAndTheLinksWithoutTheirFilesAreNamedInTheClosingMessage) {
  Pick("pages\\about.htm");
  for (const QString& name : {QString("pages\\about.htm"), QString("img\\logo.gif")})
    form1.CheckListBox1->findItems(name, Qt::MatchExactly).front()->setCheckState(Qt::Unchecked);
  // The box shows over the progress as it stands, painted.
  bool painted = false;
  dialogs.whileOpen = [&] { painted = form1.StatusBar1->updatesEnabled() && form1.ProgressBar1->updatesEnabled(); };
  form1.Button3->click();
  EXPECT_TRUE(painted);

  EXPECT_EQ(dialogs.boxes, QStringList{QString::fromUtf8(
                               "message|Внимание|Сбор закончен !!!\n"
                               "Стартовый файл \"pages\\about.htm\" не упакован: он не отмечен в списке файлов.\n"
                               "Ссылок без ресурса: 3\n"
                               "index.htm -> img/logo.gif\nindex.htm -> pages/about.htm\npages\\news.html -> about.htm")});
  const auto resources = ReadResources(ReadFile(target.path() / "site.res"));
  EXPECT_FALSE(resources.count("HTML/INDEX"));
  EXPECT_TRUE(resources.count("HTML/FILELIST"));
}

// A message of more lines than a message box holds comes in the box the user
// can scroll and copy from, whole.
TEST_F(WindowTest, ALongClosingMessageComesInTheScrollingBox) {
  ScratchDir source, target;
  std::string page;
  for (int i = 1; i <= 11; ++i) page += "<img src=\"p" + std::to_string(i) + ".gif\">";
  testing_support::WriteFile(source.path() / "a.htm", page);
  testing_support::WriteFile(source.path() / "README", "read me");
  ReadyToBuildOnePage(source.path(), target.path());
  Tick({"README"});
  form1.Button3->click();

  QString expected = QString::fromUtf8(
      "long|Внимание|Сбор закончен !!!\nНе упакованы файлы: 1\nREADME: нет расширения, а значит и типа ресурса\n"
      "Ссылок без ресурса: 11");
  for (const int i : {1, 10, 11, 2, 3, 4, 5, 6, 7, 8}) expected += QString("\na.htm -> p%1.gif").arg(i);
  EXPECT_EQ(dialogs.boxes, QStringList{expected});
  EXPECT_TRUE(fs::exists(target.path() / "site.res"));
}

}  // namespace
