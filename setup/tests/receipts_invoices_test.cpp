// Receipts and invoices step by step through the "&Funkcie FT" menu: the
// exact frames sent, the messages and the status labels read back.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <utility>

#include "sales_rig.h"

namespace korvena::kalibro {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QAbstractButton* Item(QDialog& dialog, const char* group, int index) {
  return dialog.findChild<QAbstractButton*>(QString(group) + QString("Item%1").arg(index));
}

QStringList ItemTexts(QDialog& dialog, const char* group, int count) {
  QStringList texts;
  for (int i = 0; i < count; ++i) texts << Item(dialog, group, i)->text();
  return texts;
}

// As the technician does it: a click on the item.
void Choose(QDialog& dialog, const char* group, int index) { Item(dialog, group, index)->click(); }

void SetText(QDialog& dialog, const QString& edit, const QString& text) {
  dialog.findChild<QLineEdit*>(edit)->setText(text);
}

TEST(ReceiptStart, SendsTheModeDigitAndReadsTheCheckSumsAndDates) {
  const struct {
    std::optional<int> mode;  // chosen item; none keeps the default
    int dialogResult;
    Frames frames;
  } cases[] = {
      {std::nullopt, QDialog::Accepted, {"S;0", "IV;64", "IV;65", "IV;61", "IV;62"}},
      {2, QDialog::Accepted, {"S;2", "IV;64", "IV;65", "IV;61", "IV;62"}},
      {4, QDialog::Accepted, {"S;4", "IV;64", "IV;65", "IV;61", "IV;62"}},
      {2, QDialog::Rejected, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode.value_or(-1));
    SalesRig rig;
    QString title;
    QStringList modes;
    rig.ui.ExpectDialog("StartB", c.dialogResult, [&](QDialog& dialog) {
      title = dialog.windowTitle();
      modes = ItemTexts(dialog, "ModRadio", 5);
      if (c.mode) Choose(dialog, "ModRadio", *c.mode);
    });
    EXPECT_EQ(rig.Choose("menuStartBlok"), c.frames);
    EXPECT_EQ(title, Utf8("Štart bločku"));
    EXPECT_EQ(modes, QStringList({"MOD A", "MOD B", "MOD C", "MOD D", "MOD E"}));
    if (!c.frames.empty()) {
      EXPECT_EQ(rig.Label("vCRC"), "[S64],[S65]");
      EXPECT_EQ(rig.Label("vDUDate"), "S61");
      EXPECT_EQ(rig.Label("vDDate"), "S62");
    }
    EXPECT_TRUE(rig.ui.messages.empty());
  }
}

TEST(ReceiptLine, SendsKindQuantityPriceLetterAndTextAsTyped) {
  const QString kBadPrice = Utf8("Zle zadaná jednotková cena!");
  const QString kBadQuantity = Utf8("Zle zadaný počet kusov!");
  const struct {
    int kind, vatClass;
    std::optional<QString> quantity, price, text;  // none keeps the dialog's default
    int dialogResult;
    std::string sent;  // empty: nothing sent
    QStringList messages;
  } cases[] = {
      {0, 0, {}, {}, {}, QDialog::Accepted, "L;0.000;0.000;A;", {}},
      // Every kind and every VAT class, in their order.
      {1, 1, "1", "2.50", "a", QDialog::Accepted, "LS;1;2.50;B;a", {}},
      {2, 2, "1", "2.50", "a", QDialog::Accepted, "LZ;1;2.50;C;a", {}},
      {3, 3, "1", "2.50", "a", QDialog::Accepted, "LP;1;2.50;D;a", {}},
      {4, 4, "1", "2.50", "a", QDialog::Accepted, "LM;1;2.50;E;a", {}},
      {5, 5, "1", "2.50", "a", QDialog::Accepted, "LV;1;2.50;F;a", {}},
      {0, 6, "1", "2.50", "a", QDialog::Accepted, "L;1;2.50;G;a", {}},
      {0, 7, "1", "2.50", "a", QDialog::Accepted, "L;1;2.50;H;a", {}},
      {0, 8, "1", "2.50", "a", QDialog::Accepted, "L;1;2.50;I;a", {}},
      // Numbers go out as typed, the text in the PC's code page.
      {0, 0, "1e2", " -.5", Utf8("Chlieb čierny"), QDialog::Accepted, "L;1e2; -.5;A;Chlieb \xe8ierny", {}},
      // The price is judged first.
      {0, 0, "x", "1,50", {}, QDialog::Accepted, "", {kBadPrice}},
      {0, 0, "1,5", "1.50", {}, QDialog::Accepted, "", {kBadQuantity}},
      {0, 0, "1", "", {}, QDialog::Accepted, "", {kBadPrice}},
      {0, 0, "1 ", "1", {}, QDialog::Accepted, "", {kBadQuantity}},
      {3, 3, "1", "2", "a", QDialog::Rejected, "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent + " " + c.messages.join('|').toStdString());
    SalesRig rig;
    QString title;
    QStringList kinds, vatClasses, initialTexts;
    QList<int> limits;
    rig.ui.ExpectDialog("RiadokB", c.dialogResult, [&](QDialog& dialog) {
      title = dialog.windowTitle();
      kinds = ItemTexts(dialog, "ModTyp", 6);
      vatClasses = ItemTexts(dialog, "ModSDPH", 9);
      for (const char* name : {"ksLabel", "jcLabel", "textLabel"})
        initialTexts << dialog.findChild<QLabel*>(name)->text();
      for (const char* name : {"ksEdit", "jcEdit", "textEdit"}) {
        initialTexts << dialog.findChild<QLineEdit*>(name)->text();
        limits << dialog.findChild<QLineEdit*>(name)->maxLength();
      }
      Choose(dialog, "ModTyp", c.kind);
      Choose(dialog, "ModSDPH", c.vatClass);
      if (c.quantity) SetText(dialog, "ksEdit", *c.quantity);
      if (c.price) SetText(dialog, "jcEdit", *c.price);
      if (c.text) SetText(dialog, "textEdit", *c.text);
    });
    const Frames expected = c.sent.empty() ? Frames{} : Frames{c.sent, "IV;64", "IV;65"};
    EXPECT_EQ(rig.Choose("menuRiadokBlok"), expected);
    EXPECT_EQ(rig.ui.MessageTexts(), c.messages);
    if (!c.sent.empty()) {
      const std::string command = c.sent.substr(0, c.sent.find(';'));
      EXPECT_EQ(rig.Label("vCRC").toStdString(), "[" + ValueAfter(command, 64) + "],[" + ValueAfter(command, 65) + "]");
    }
    EXPECT_EQ(title, Utf8("Riadok bločku"));
    EXPECT_EQ(kinds, Utf8("Kladná položka|Storno|Zľava|Prirážka|Záporná položka|Vrátený tovar").split('|'));
    EXPECT_EQ(vatClasses, Utf8("A 0% bez DPH|B KDPH1% bez DPH|C KDPH2% bez DPH|D KDPH1% vrátane DPH|"
                               "E KDPH2% vrátane DPH|F KDPH3% bez DPH|G KDPH4% bez DPH|H KDPH3% vrátane DPH|"
                               "I KDPH4% vrátane DPH")
                              .split('|'));
    EXPECT_EQ(initialTexts,
              QStringList({Utf8("Počet kusov"), Utf8("Jednotková cena"), "Text", "0.000", "0.000", ""}));
    EXPECT_EQ(limits, QList<int>({16, 16, 40}));
  }
}

TEST(DocumentClose, SendsTheSixPaymentsAsTypedAndRefreshesTheTotals) {
  const struct {
    const char* menuItem;
    const char* command;
    const char* title;
  } documents[] = {
      {"menuKoniecBlok", "K", "Koniec bločku"},
      {"popupEndFA", "KF", "Koniec faktúry"},
  };
  const struct {
    std::vector<std::pair<int, QString>> typed;  // payment 1..6 and its text
    int dialogResult;
    std::string arguments;  // after the command's name; empty: nothing sent
    QStringList messages;
  } cases[] = {
      {{}, QDialog::Accepted, ";0.00;0.00;0.00;0.00;0.00;0.00", {}},
      {{{1, "12.5"}, {3, "."}, {6, "+1E-2"}}, QDialog::Accepted, ";12.5;0.00;.;0.00;0.00;+1E-2", {}},
      {{{2, ""}}, QDialog::Accepted, "", {Utf8("Zle zadaná suma platidlo 2!")}},
      {{{6, "1,5"}, {5, "5 "}}, QDialog::Accepted, "", {Utf8("Zle zadaná suma platidlo 5!")}},
      {{{1, "e1"}}, QDialog::Accepted, "", {Utf8("Zle zadaná suma platidlo 1!")}},
      {{{1, "1"}}, QDialog::Rejected, "", {}},
  };
  for (const auto& document : documents) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(document.command) + c.arguments + c.messages.join('|').toStdString());
      SalesRig rig;
      QString title;
      QStringList captions, initialTexts;
      QList<int> limits;
      rig.ui.ExpectDialog("KoniecB", c.dialogResult, [&](QDialog& dialog) {
        title = dialog.windowTitle();
        for (int n = 1; n <= 6; ++n) {
          captions << dialog.findChild<QLabel*>(QString("plat%1Text").arg(n))->text();
          const auto* edit = dialog.findChild<QLineEdit*>(QString("plat%1Edit").arg(n));
          initialTexts << edit->text();
          limits << edit->maxLength();
        }
        for (const auto& [n, text] : c.typed) SetText(dialog, QString("plat%1Edit").arg(n), text);
      });
      const Frames frames = rig.Choose(document.menuItem);
      if (c.arguments.empty()) {
        EXPECT_EQ(frames, Frames{});
      } else {
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames[0], document.command + c.arguments);
        EXPECT_EQ(frames.size(), 1u + 43u) << "the command and the 43 queries of the refresh";
        // The first and the last value the refresh reads, each read after the command.
        EXPECT_EQ(rig.Label("vGT2").toStdString(), ValueAfter(document.command, 20));
        EXPECT_EQ(rig.Label("vVyber").toStdString(), ValueAfter(document.command, 38));
      }
      EXPECT_EQ(rig.ui.MessageTexts(), c.messages);
      EXPECT_EQ(title, Utf8(document.title));
      EXPECT_EQ(captions, Utf8("Platidlo 1 (Cash)|Platidlo 2 (Card)|Platidlo 3 (Credit)|Platidlo 4 (Faktúra)|"
                               "Platidlo 5|Platidlo 6")
                              .split('|'));
      EXPECT_EQ(initialTexts, QStringList(6, "0.00"));
      EXPECT_EQ(limits, QList<int>(6, 16));
    }
  }
}

TEST(InvoiceStart, SendsAmountAndTextOnlyWhenBothAreFilled) {
  const struct {
    QString text, amount;
    int dialogResult;
    Frames frames;
  } cases[] = {
      {Utf8("Faktúra č. 7"), "120,50", QDialog::Accepted, {"F;120,50;Fakt\xfara \xe8. 7"}},
      {"", "120.50", QDialog::Accepted, {}},
      {"FA 7", "", QDialog::Accepted, {}},
      {"FA 7", "120.50", QDialog::Rejected, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString() + "/" + c.amount.toStdString());
    SalesRig rig;
    QString title;
    QStringList initialTexts;
    rig.ui.ExpectDialog("Faktura", c.dialogResult, [&](QDialog& dialog) {
      title = dialog.windowTitle();
      for (const char* name : {"txtFALabel", "txtSumaLabel"}) initialTexts << dialog.findChild<QLabel*>(name)->text();
      for (const char* name : {"txtFA", "txtSuma"}) initialTexts << dialog.findChild<QLineEdit*>(name)->text();
      SetText(dialog, "txtFA", c.text);
      SetText(dialog, "txtSuma", c.amount);
    });
    EXPECT_EQ(rig.Choose("popupStartFA"), c.frames);
    EXPECT_EQ(title, Utf8("Faktúra"));
    EXPECT_EQ(initialTexts, QStringList({Utf8("Text faktúry:"), "Suma:", "", ""}));
    EXPECT_TRUE(rig.ui.messages.empty());
  }
}

}  // namespace
}  // namespace korvena::kalibro
