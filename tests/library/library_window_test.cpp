#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/text_box.h"
#include "library/frmcommand.h"
#include "library_fixture.h"
#include "support/files.h"
#include "support/test_app.h"

using Keys = std::vector<std::pair<int, int>>;

namespace {

// Stored out of order; category 1 has three expressions, the first with blanks around it.
const std::vector<libfix::Row> kLibrary = {{4, 0, "四"},
                                           {1, 0, "一"},
                                           {1, 1, "平均", "  (+/ % #) y   NB.jCMD1 ", "算術平均"},
                                           {2, 0, "二"},
                                           {1, 2, "合計", "+/ y   NB.jCMD1"},
                                           {1, 3, "最大", " >./ y ", "最大値"},
                                           {4, 1, "行列式", "-/ . * y"}};

class LibraryWindowTest : public ::testing::Test {
protected:
    QString file() { return LibraryStore::fileIn(t.app().dataDir()); }
    frmCommand& open(const std::vector<libfix::Row>* rows = &kLibrary) {
        if (rows) libfix::writeLibrary(file(), *rows);
        if (!t.app().MainWindow) t.showMain();
        frmCommand& f = t.app().form<frmCommand>();
        f.store().setBusyTimeoutMs(50);
        f.Show();
        return f;
    }
    static void choose(frmCommand& f, const QString& name) {
        f.List1->setCurrentItem(f.List1->findItems(name, Qt::MatchExactly).value(0));
    }
    static void clickRow(frmCommand& f, int row) {
        f.MSFlexGrid1->setRow(row);
        emit f.MSFlexGrid1->Click();
    }
    static QString listed(const frmCommand& f) {
        QStringList out;
        for (int i = 0; i < f.List1->count(); ++i) out << f.List1->item(i)->text();
        return out.join(' ');
    }
    static QString column(frmCommand& f, int col) {
        QStringList out;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) out << f.MSFlexGrid1->TextMatrix(r, col);
        return out.join(' ');
    }
    QString mainText() { return t.main().Text1->Text(); }
    // Types into the category box and the three expression boxes; nullptr leaves a box alone.
    static void type(frmCommand& f, std::array<const char*, 4> texts) {
        TextBox* boxes[] = {f.Text1, f.Text2, f.Text3, f.Text4};
        for (int i = 0; i < 4; ++i)
            if (texts[i]) boxes[i]->setText(QString::fromUtf8(texts[i]));
    }
    static QString boxes(const frmCommand& f) {
        return f.Text1->Text() + "|" + f.Text2->Text() + "|" + f.Text3->Text() + "|" + f.Text4->Text();
    }

    TestApp t;
};

TEST_F(LibraryWindowTest, OpeningListsCategoriesByNumberAndNewOnesTakeNumbersNeverGivenOut) {
    t.app().PendingKind = 9;
    t.showMain();
    t.main().Text1->setText(QStringLiteral("what the user was typing"));
    frmCommand& f = open();
    // The list taking the focus is no choice: the sentence being typed stays.
    f.List1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(mainText() + "|" + QString::number(t.app().PendingKind), "what the user was typing|0");
    EXPECT_EQ(listed(f) + "|" + QString::number(f.List1->currentRow()) + "|" +
                  QString::number(f.MSFlexGrid1->Rows()),
              "一 二 四|-1|1");
    type(f, {"x", "a", "b"});  // no category chosen: these buttons do nothing
    for (QPushButton* b : {f.Command3, f.Command6, f.Command4}) b->click();
    EXPECT_TRUE(t.msgBox.calls.empty());
    EXPECT_EQ(libfix::readAll(file()).size(), kLibrary.size());

    type(f, {"新"});
    f.Command2->click();
    EXPECT_EQ(listed(f) + "|" + QString::number(f.List1->currentRow()), "一 二 四 新|-1");
    EXPECT_EQ(libfix::keys(file()).back(), std::make_pair(5, 0));

    choose(f, "新");
    f.Command6->click();
    f.Command1->click();
    EXPECT_FALSE(f.isLoaded());
    open(nullptr);
    type(f, {"次"});
    f.Command2->click();
    EXPECT_EQ(f.itemNumber(3), 6);
}

TEST_F(LibraryWindowTest, ChoosingACategoryAndARowHandsTheExpressionOver) {
    frmCommand& f = open();
    FlexGrid& g = *f.MSFlexGrid1;
    choose(f, "一");
    EXPECT_EQ(column(f, 0) + "|" + column(f, 4) + "|" + column(f, 5), "1 2 3|1 2 3|1 1 1");
    EXPECT_EQ(std::make_tuple(g.Row(), g.RowSel(), g.Col(), g.ColSel()), std::make_tuple(1, 1, 0, 6));
    EXPECT_EQ(boxes(f), "一|平均|  (+/ % #) y   NB.jCMD1 |算術平均");
    EXPECT_EQ(mainText(), "(+/ % #) y   NB.jCMD1");

    clickRow(f, 3);
    EXPECT_EQ(mainText(), ">./ y");
    emit g.GotFocus();  // coming back into the grid hands over the text as it stands
    EXPECT_EQ(mainText(), " >./ y ");
    // A click on the category already shown shows it afresh.
    QListWidgetItem* one = f.List1->findItems("一", Qt::MatchExactly).value(0);
    QTest::mouseClick(f.List1->viewport(), Qt::LeftButton, {}, f.List1->visualItemRect(one).center());
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(mainText(), "(+/ % #) y   NB.jCMD1");

    clickRow(f, 2);
    f.Command8->click();
    EXPECT_EQ(boxes(f), "一|||");
    f.Command9->click();
    EXPECT_EQ(boxes(f), "一|合計|+/ y   NB.jCMD1|");

    choose(f, "二");
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(boxes(f) + mainText(), "二|||");
}

TEST_F(LibraryWindowTest, AddedAndChangedExpressionsStoreAsTypedAndDeletingOneLeavesAGap) {
    frmCommand& f = open();
    choose(f, "二");
    type(f, {nullptr, "名", "  1 + y  ", " 備考 "});
    f.Command4->click();
    EXPECT_EQ(column(f, 2) + "|" + column(f, 4) + "|" + column(f, 5), " 1 + y|1|2");
    EXPECT_EQ(mainText(), "1 + y");
    LibraryRow stored = libfix::readAll(file()).back();
    EXPECT_EQ(stored.jCmd + "|" + stored.jCmd2 + "|" + stored.jNote, "  1 + y  || 備考 ");

    type(f, {nullptr, nullptr, "  2 * y "});
    f.Command5->click();
    EXPECT_EQ(column(f, 2), " 2 * y");
    stored = libfix::readAll(file()).back();
    EXPECT_EQ(stored.jCmd + "|" + stored.jCmd2 + "|" + stored.jNote, "2 * y|備考| 備考 ");

    // Deleting asks first.
    choose(f, "一");
    clickRow(f, 2);
    t.msgBox.answer(mb::No);
    f.Command7->click();
    EXPECT_EQ(t.msgBox.lastPrompt(), "データベースからデータを削除するともとに戻せません。\r削除しますか？");
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::YesNo);
    f.Command7->click();
    EXPECT_EQ(column(f, 0) + "|" + column(f, 1), "1 3|平均 最大");
    choose(f, "二");
    choose(f, "一");
    EXPECT_EQ(column(f, 0) + "|" + column(f, 4), "1 2|1 3");

    // Arrow keys move the row without a click; the row on screen is still the one deleted.
    f.MSFlexGrid1->setRow(2);
    f.Command7->click();
    EXPECT_EQ(libfix::keys(file()), (Keys{{4, 0}, {1, 0}, {1, 1}, {2, 0}, {4, 1}, {2, 1}}));
}

TEST_F(LibraryWindowTest, RenamingInPlaceThenDeletingAsksAndShowsTheFirstLeftUntilNoneIsLeft) {
    frmCommand& f = open();
    choose(f, "四");
    type(f, {"行列"});
    f.Command3->click();
    EXPECT_EQ(listed(f) + "|" + QString::number(f.itemNumber(2)), "一 二 行列|4");
    EXPECT_EQ(libfix::readAll(file())[0].jCmdName, "行列");

    choose(f, "一");
    t.msgBox.answer(mb::No);
    f.Command6->click();
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.calls[0].prompt,
              "データベースからデータを削除すると元に戻せません。\r"
              "また、この分類に所属する全ての jExprssion も削除されます。\r"
              "削除しますか？");
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::YesNo);
    EXPECT_TRUE(t.msgBox.calls[0].title.isEmpty());
    f.Command6->click();
    EXPECT_EQ(listed(f) + "|" + f.Text1->Text(), "二 行列|二");
    EXPECT_EQ(libfix::keys(file()), (Keys{{4, 0}, {2, 0}, {4, 1}}));
    f.Command6->click();
    EXPECT_EQ(column(f, 1), "行列式");
    f.Command6->click();
    EXPECT_EQ(listed(f) + QString::number(f.MSFlexGrid1->Rows()) + boxes(f), "1|||");

    // Opened empty, the library can get its first category again.
    f.Command1->click();
    open(nullptr);
    EXPECT_TRUE(f.Command2->isEnabled() && !f.Command4->isEnabled());
    type(f, {"最初"});
    f.Command2->click();
    choose(f, "最初");
    type(f, {nullptr, "一", "1"});
    f.Command4->click();
    EXPECT_EQ(libfix::keys(file()), (Keys{{5, 0}, {5, 1}}));
}

TEST_F(LibraryWindowTest, StoreFailuresAreShownAndTheWindowStaysAsTheTableIs) {
    frmCommand& f = open();
    choose(f, "一");
    {
        SqlLock lock(file(), "IMMEDIATE");
        type(f, {"改名", "新", "1"});
        for (QPushButton* b : {f.Command4, f.Command5, f.Command7, f.Command3, f.Command6}) b->click();
    }
    EXPECT_EQ(listed(f) + "|" + column(f, 1), "一 二 四|平均 合計 最大");
    EXPECT_EQ(std::count_if(t.msgBox.calls.begin(), t.msgBox.calls.end(),
                            [](const auto& c) { return c.prompt.contains("ロック"); }),
              5);

    f.Command1->click();
    writeFile(file(), QByteArray(4096, 'x'));
    open(nullptr);
    EXPECT_TRUE(t.msgBox.lastPrompt().contains(QDir::toNativeSeparators(file())));
    EXPECT_FALSE(f.List1->count() || f.Command2->isEnabled());
    f.Command1->click();  // it can still be closed
    EXPECT_FALSE(f.isLoaded());
}

TEST_F(LibraryWindowTest, TheMainWindowShowsItModallyAndTheToolsMenuShowsTheDictionary) {
    libfix::writeLibrary(file(), kLibrary);
    frmjMain& main = t.showMain();
    QString dictionary;
    runOnNextModal([&](QWidget* w) {
        auto* f = qobject_cast<frmCommand*>(w);
        ASSERT_NE(f, nullptr);
        choose(*f, "一");
        clickRow(*f, 2);
        runOnNextModal([&](QWidget* d) {
            dictionary = d->objectName();
            d->close();
        });
        f->mnuToolDic->trigger();
        f->Command1->click();
    });
    main.mnuToolDataBase_Click();
    EXPECT_EQ(dictionary, "frmDicDisp");
    EXPECT_EQ(main.Text1->Text(), "+/ y   NB.jCMD1");
    EXPECT_EQ(main.Text1->SelStart(), main.Text1->Text().size());
}

}  // namespace
