// The main window's shell: the menu tree, the About box and closing.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <set>

#include "forms/about_box.h"
#include "kalibro_rig.h"
#include "shell/menu_tree.h"

namespace korvena::kalibro {
namespace {

TEST(MainWindow, MenuItemsCarryTheirComponentNames) {
  KalibroRig rig;
  TKalibroForm35 form(rig.port, rig.clock, rig.ui, rig.configPath);
  EXPECT_EQ(form.objectName(), "KalibroForm35");
  EXPECT_EQ(form.windowTitle(), "KORVENA.2010 nastavenie");

  std::set<QString> names;
  const QList<QAction*> top = form.menuBar()->actions();
  ASSERT_EQ(top.size(), 6);
  for (QAction* topItem : top) {
    names.insert(topItem->objectName());
    if (topItem->menu() == nullptr) continue;
    for (QAction* item : topItem->menu()->actions())
      if (!item->isSeparator()) {
        EXPECT_TRUE(item->isEnabled());
        names.insert(item->objectName());
        EXPECT_EQ(form.MenuAction(item->objectName()), item);
      }
  }
  EXPECT_EQ(names.size(), 6u + 15u + 1u + 2u + 1u + 12u);
  EXPECT_EQ(top[0]->objectName(), "menuSet");
  EXPECT_EQ(top[0]->text(), "&Nastavenie");
  EXPECT_EQ(top[2]->text(), QString::fromUtf8("Fiškálna &pamäť"));
  EXPECT_EQ(top[5]->objectName(), "menuExit");
  EXPECT_EQ(top[5]->menu(), nullptr);
  EXPECT_EQ(form.MenuAction("popupPairFP")->text(), QString::fromUtf8("Spárovať starú Fiškánu Pamäť s modulom ..."));
  EXPECT_EQ(form.MenuAction("popupZtyp")->text(), QString::fromUtf8("Nastavenie koeficientov zaokrúhľovania ..."));

  const auto separators = [](QAction* menu) {
    int count = 0;
    for (QAction* item : menu->menu()->actions()) count += item->isSeparator();
    return count;
  };
  EXPECT_EQ(separators(top[0]), 6);
  EXPECT_EQ(separators(top[4]), 5);
}

TEST(MainWindow, ClientAreaAndFontAreFixed) {
  KalibroRig rig;
  TKalibroForm35 form(rig.port, rig.clock, rig.ui, rig.configPath);
  form.show();
  EXPECT_EQ(form.ClientArea()->size(), QSize(661, 434));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form.font().pixelSize(), 10);
  const QWidget* image = form.findChild<QWidget*>("Image");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->geometry(), QRect(15, 30, 111, 251));
  EXPECT_EQ(form.findChild<QWidget*>("PictureBevel")->geometry(), QRect(14, 29, 112, 238));
}

// However the window closes, the port closes with it.
TEST(MainWindow, ClosingByAnyMeansClosesThePort) {
  const std::function<void(TKalibroForm35&)> ways[] = {
      [](TKalibroForm35& form) { form.MenuAction("menuExit")->trigger(); },
      [](TKalibroForm35& form) { form.close(); },
  };
  for (const auto& closeIt : ways) {
    KalibroRig rig;
    rig.ChooseComItem(0);
    rig.TypePassword("");
    rig.Start();
    ASSERT_TRUE(rig.port.open());
    closeIt(*rig.form);
    EXPECT_FALSE(rig.port.open());
    EXPECT_FALSE(rig.form->isVisible());
  }
}

TEST(AboutBox, ShowsTheTitleFromTheContextMenu) {
  KalibroRig rig;
  TKalibroForm35 form(rig.port, rig.clock, rig.ui, rig.configPath);
  QAction* about = form.findChild<QAction*>("aboutCommand");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), QString::fromUtf8("&Informácie o..."));
  EXPECT_TRUE(form.ClientArea()->actions().contains(about));
  QString caption, product, comments;
  rig.ui.ExpectDialog("AboutBox", QDialog::Accepted, [&](QDialog& dialog) {
    auto& box = static_cast<TAboutBox&>(dialog);
    caption = box.windowTitle();
    product = box.ProductName->text();
    comments = box.Comments->text();
  });
  about->trigger();
  EXPECT_EQ(caption, "About KORVENA.2010 nastavenie");
  EXPECT_EQ(product, "KORVENA.2010 nastavenie");
  EXPECT_FALSE(comments.isEmpty());
  form.WMSysCommand(101);  // other system commands show nothing
  EXPECT_EQ(rig.ui.dialogs.size(), 1u);
}

// The hidden credit: a key down on OK with exactly Shift+Ctrl+Alt arms the
// box; a double click on the icon then shows the credit; a key release disarms.
TEST(AboutBox, HiddenCreditNeedsAllThreeModifiers) {
  const struct {
    Qt::KeyboardModifiers modifiers;
    bool releaseFirst;
    bool credit;
  } cases[] = {
      {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, false, true},
      {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, true, false},
      {Qt::ShiftModifier | Qt::ControlModifier, false, false},
      {Qt::AltModifier, false, false},
  };
  for (const auto& c : cases) {
    TAboutBox box;
    box.Comments->setText("comments");
    QTest::keyPress(box.OKButton, Qt::Key_K, c.modifiers);
    if (c.releaseFirst) QTest::keyRelease(box.OKButton, Qt::Key_K, c.modifiers);
    QTest::mouseDClick(box.ProgramIcon, Qt::LeftButton);
    EXPECT_EQ(box.Comments->text() != "comments", c.credit) << c.modifiers.toInt();
  }
}

}  // namespace
}  // namespace korvena::kalibro
