// The closing reports and the cash movements through the "&Funkcie FT"
// menu: the exact frames sent, the prompts and the status labels read back.
#include <gtest/gtest.h>

#include <QLabel>
#include <optional>

#include "widgets/num_edit.h"
#include "sales_rig.h"

namespace korvena::kalibro {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

TEST(DailyReports, SendNoArgumentsAndDZReadsTheClosingValues) {
  SalesRig rig;
  ASSERT_EQ(rig.form->state().LoginPassword, "0");
  EXPECT_EQ(rig.Choose("menuDX"), Frames({"DX"}));
  EXPECT_EQ(rig.Choose("menuDZ"), Frames({"DZ", "IV;61", "IV;62", "IV;63"}));
  EXPECT_EQ(rig.Label("vDUDate"), "DZ61");
  EXPECT_EQ(rig.Label("vDDate"), "DZ62");
  EXPECT_EQ(rig.Label("vDUDocs"), "DZ63");
  EXPECT_TRUE(rig.ui.messages.empty());
  EXPECT_TRUE(rig.ui.problems.empty());
}

TEST(IntervalReports, SendBothAnswersAsTypedUnlessOneIsMissing) {
  const QString kFirstNumber = Utf8("Zadajte číslo prvej uzávierky");
  const QString kLastNumber = Utf8("Zadajte číslo poslednej uzávierky");
  const QString kFirstDate = Utf8("Zadajte dátum prvej uzávierky v tvare dd;mm;yyyy");
  const QString kLastDate = Utf8("Zadajte dátum poslednej uzávierky v tvare dd;mm;yyyy");
  const struct {
    const char* menuItem;
    std::vector<std::optional<QString>> answers;  // nullopt: the box cancelled
    Frames frames;
    QStringList prompts;
  } cases[] = {
      {"menuMX", {"12", "15"}, {"MI;12;15"}, {kFirstNumber, kLastNumber}},
      {"menuMX", {" x", "1"}, {"MI; x;1"}, {kFirstNumber, kLastNumber}},  // the device judges them
      {"menuMZ", {"01;03;2024", "31;03;2024"}, {"MD;01;03;2024;31;03;2024"}, {kFirstDate, kLastDate}},
      {"menuMX", {std::nullopt}, {}, {kFirstNumber}},
      {"menuMX", {""}, {}, {kFirstNumber}},
      {"menuMX", {"12", std::nullopt}, {}, {kFirstNumber, kLastNumber}},
      {"menuMZ", {std::nullopt}, {}, {kFirstDate}},
      {"menuMZ", {"01;03;2024", ""}, {}, {kFirstDate, kLastDate}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.menuItem) + " " + c.prompts.join('|').toStdString());
    SalesRig rig;
    rig.ui.textAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(rig.Choose(c.menuItem), c.frames);
    EXPECT_EQ(rig.ui.prompts, std::vector<QString>(c.prompts.begin(), c.prompts.end()));
    EXPECT_TRUE(rig.ui.messages.empty());
  }
}

TEST(CashMovements, SendTheSignedAmountAndReadTheCountersBack) {
  const struct {
    const char* menuItem;
    QString typed;
    int dialogResult;
    const char* title;
    Frames frames;
    std::vector<std::pair<const char*, const char*>> labels;
  } cases[] = {
      {"menuVklad",
       "500",
       QDialog::Accepted,
       "Vklad",
       {"V;500", "IV;37", "IV;36", "IV;8", "IV;64", "IV;65"},
       {{"vCntVklad", "[V37]"}, {"vVklad", "V36"}, {"vWeeprom", "V8"}, {"vCRC", "[V64],[V65]"}}},
      {"menuVyber",
       "500",
       QDialog::Accepted,
       "Výber",
       {"V;-500", "IV;39", "IV;38", "IV;8", "IV;64", "IV;65"},
       {{"vCntVyber", "[V39]"}, {"vVyber", "V38"}, {"vWeeprom", "V8"}, {"vCRC", "[V64],[V65]"}}},
      {"menuVklad", "", QDialog::Accepted, "Vklad", {"V;", "IV;37", "IV;36", "IV;8", "IV;64", "IV;65"}, {}},
      {"menuVyber", "", QDialog::Accepted, "Výber", {"V;-", "IV;39", "IV;38", "IV;8", "IV;64", "IV;65"}, {}},
      {"menuVyber", "500", QDialog::Rejected, "Výber", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.menuItem) + " " + c.typed.toStdString());
    SalesRig rig;
    QString title, caption;
    int limit = 0;
    rig.ui.ExpectDialog("VVform", c.dialogResult, [&](QDialog& dialog) {
      title = dialog.windowTitle();
      caption = dialog.findChild<QLabel*>("ValueLabel")->text();
      auto* amount = dialog.findChild<TNumEdit*>("ValueText");
      ASSERT_NE(amount, nullptr);
      limit = amount->maxLength();
      TypeInto(dialog, "ValueText", c.typed);
    });
    EXPECT_EQ(rig.Choose(c.menuItem), c.frames);
    EXPECT_EQ(title, Utf8(c.title));
    EXPECT_EQ(caption, "Suma");
    EXPECT_EQ(limit, 11);
    for (const auto& [name, text] : c.labels) EXPECT_EQ(rig.Label(name), text) << name;
    EXPECT_TRUE(rig.ui.messages.empty());
  }
}

}  // namespace
}  // namespace korvena::kalibro
