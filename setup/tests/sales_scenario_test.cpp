// A technician's test sale from start to end against the emulated device's
// own sales model: a deposit, a receipt, an invoice and the reports. The
// journal holds the documents in order, and the window shows the device's
// figures afterwards.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <algorithm>

#include "kalibro_rig.h"
#include "shell/status_layout.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

void SetText(QDialog& dialog, const char* edit, const QString& text) {
  dialog.findChild<QLineEdit*>(edit)->setText(text);
}

void ChooseItem(QDialog& dialog, const QString& group, int index) {
  dialog.findChild<QAbstractButton*>(group + QString("Item%1").arg(index))->click();
}

struct Line {
  int kind;  // L, LS, LZ, LP, LM, LV
  int vatClass;
  const char* quantity;
  const char* price;
  const char* text;
};

TEST(SalesScenario, ADayOfSalesEndsInTheJournalAndInTheWindow) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("0");
  rig.Start();
  const auto choose = [&rig](const char* item) { rig.form->MenuAction(item)->trigger(); };

  const auto device = [&rig](int info) { return FromWindows1250(rig.device.state().info[info]); };
  rig.ui.ExpectDialog("VVform", QDialog::Accepted, [](QDialog& d) { SetText(d, "ValueText", "500"); });
  choose("menuVklad");
  EXPECT_EQ(rig.Label("vCntVklad"), "[22]") << "the 21 deposits of the day and this one";
  EXPECT_EQ(rig.Label("vVklad"), device(36));

  rig.ui.ExpectDialog("StartB", QDialog::Accepted);
  choose("menuStartBlok");
  const Line lines[] = {
      {0, 1, "2.000", "1.50", "Chlieb"},  // an item at the first rate
      {3, 2, "1", "0.20", "Obal"},        // a surcharge at the second
      {2, 1, "1", "0.30", "Zlava"},       // a discount
  };
  for (const Line& line : lines) {
    rig.ui.ExpectDialog("RiadokB", QDialog::Accepted, [&line](QDialog& d) {
      ChooseItem(d, "ModTyp", line.kind);
      ChooseItem(d, "ModSDPH", line.vatClass);
      SetText(d, "ksEdit", line.quantity);
      SetText(d, "jcEdit", line.price);
      SetText(d, "textEdit", line.text);
    });
    choose("menuRiadokBlok");
  }
  rig.ui.ExpectDialog("KoniecB", QDialog::Accepted, [](QDialog& d) {
    SetText(d, "plat1Edit", "5.00");  // cash, with change
    SetText(d, "plat2Edit", "1.00");  // card
  });
  choose("menuKoniecBlok");

  rig.ui.ExpectDialog("Faktura", QDialog::Accepted, [](QDialog& d) {
    SetText(d, "txtFA", "Oprava pokladne");
    SetText(d, "txtSuma", "120.00");
  });
  choose("popupStartFA");
  rig.ui.ExpectDialog("KoniecB", QDialog::Accepted, [](QDialog& d) { SetText(d, "plat4Edit", "120.00"); });
  choose("popupEndFA");

  choose("menuDX");
  choose("menuDZ");
  const std::string closing = std::to_string(rig.device.state().sales.closingNumber);
  rig.ui.textAnswers = {QString::fromStdString(closing), QString::fromStdString(closing)};
  choose("menuMX");

  EXPECT_TRUE(rig.ui.AllDialogsShown());
  EXPECT_TRUE(rig.ui.messages.empty()) << rig.ui.MessageTexts().join('\n').toStdString();
  EXPECT_TRUE(rig.ui.problems.empty());

  // Every command was taken ("0" is never kept for info 0) and every
  // document printed, in the order made.
  EXPECT_FALSE(rig.device.state().statusOnce.has_value()) << *rig.device.state().statusOnce;
  const auto& journal = rig.device.journal();
  std::size_t previous = 0;
  for (const char* heading : {"VKLAD", "POKLADNICNY DOKLAD", "Chlieb", "PRIRAZKA Obal", "ZLAVA Zlava", "FAKTURA c.",
                              "PRIEBEZNA UZAVIERKA (X)", "DENNA UZAVIERKA (Z)", "INTERVALOVA UZAVIERKA (CISLA)"}) {
    const auto found = std::find_if(journal.begin() + static_cast<std::ptrdiff_t>(previous), journal.end(),
                                    [heading](const std::string& line) { return line.find(heading) != std::string::npos; });
    ASSERT_NE(found, journal.end()) << heading << " is missing or out of order";
    previous = static_cast<std::size_t>(found - journal.begin());
  }

  // What the commands read back, and then every refreshed figure, is what
  // the device reports.
  EXPECT_EQ(rig.Label("vDUDate"), device(61));
  EXPECT_EQ(rig.Label("vDDate"), device(62));
  EXPECT_EQ(rig.Label("vDUDocs"), device(63));
  rig.form->RefreshTotals();
  for (const char* name : RefreshedValues()) {
    const ValueCell* cell = FindValueCell(name);
    ASSERT_NE(cell, nullptr) << name;
    const QString expected = FromWindows1250(
        CellText(*cell, [&rig](int info) { return rig.device.state().info[info]; }));
    EXPECT_EQ(rig.Label(name), expected) << name;
  }
}

}  // namespace
}  // namespace korvena::kalibro
