// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ComboTesting.h"
#include "fontchooser/SkinComboBox.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ComboTesting;

namespace {

const QStringList kNames = {u"Alpha"_s, u"Bravo"_s,   u"Charlie"_s, u"Delta"_s,
                            u"Echo"_s,  u"Foxtrot"_s, u"Golf"_s,    u"Hotel"_s};

struct Form
{
    QWidget window;
    TSkinComboBox* combo;
    QLineEdit* other;

    Form()
    {
        window.resize(400, 200);
        combo = new TSkinComboBox(&window);
        combo->setGeometry(10, 10, 200, 21);
        for (int i = 0; i < kNames.size(); ++i) {
            combo->addItem(kNames[i]);
            combo->SetTag(i, i + 1);
        }
        other = new QLineEdit(&window);
        other->setGeometry(10, 60, 100, 20);
        window.show();
    }
};

void ChooseByName(TSkinComboBox& combo, const QString& name)
{
    ChooseWithMouse(combo, combo.MRUCount() + int(kNames.indexOf(name)));
}

} // namespace

class tst_SkinComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void mouseChoiceFiresClickChangeSelectInOrder()
    {
        Form form;
        QStringList fired;
        form.combo->OnClick = [&](QObject*) {
            fired << u"click"_s;
        };
        form.combo->OnChange = [&](QObject*) {
            fired << u"change"_s;
        };
        form.combo->OnSelect = [&](QObject* sender) {
            QCOMPARE(sender, form.combo);
            fired << u"select"_s;
        };
        ChooseWithMouse(*form.combo, 3);
        QCOMPARE(form.combo->currentText(), u"Delta"_s);
        QCOMPARE(fired, (QStringList {u"click"_s, u"change"_s, u"select"_s}));
        QVERIFY(!form.combo->DroppedDown());
    }

    void sixChoicesKeepTheFiveNewestOnTop()
    {
        Form form;
        form.combo->SetMRUList(true);
        for (const QString& name :
             {u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Delta"_s, u"Echo"_s, u"Foxtrot"_s})
            ChooseByName(*form.combo, name);
        QCOMPARE(form.combo->MRUCount(), 5);
        QCOMPARE(Texts(*form.combo).mid(0, 5),
                 (QStringList {u"Foxtrot"_s, u"Echo"_s, u"Delta"_s, u"Charlie"_s, u"Bravo"_s}));
        QCOMPARE(Texts(*form.combo).mid(5), kNames); // the ordinary list is untouched
        QCOMPARE(form.combo->currentIndex(), 0);
        QCOMPARE(form.combo->Tag(0), form.combo->Tag(5 + kNames.indexOf(u"Foxtrot"_s)));
        QVERIFY(form.combo->isMRUItem(4));
        QVERIFY(!form.combo->isMRUItem(5));
    }

    void choosingAFontAlreadyInTheSectionKeepsTheOrder_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("its MRU entry") << 1;
        QTest::newRow("its ordinary entry") << 3 + int(kNames.indexOf(u"Bravo"_s));
    }
    void choosingAFontAlreadyInTheSectionKeepsTheOrder()
    {
        QFETCH(int, choice);
        Form form;
        form.combo->SetMRUList(true);
        for (const QString& name : {u"Alpha"_s, u"Bravo"_s, u"Charlie"_s})
            ChooseByName(*form.combo, name);
        ChooseWithMouse(*form.combo, choice);
        QCOMPARE(Texts(*form.combo).mid(0, 3),
                 (QStringList {u"Charlie"_s, u"Bravo"_s, u"Alpha"_s}));
        QCOMPARE(form.combo->MRUCount(), 3);
        QCOMPARE(form.combo->currentIndex(), 1);
    }

    void loweringMRUMaxKeepsTheNewest()
    {
        Form form;
        form.combo->SetMRUList(true);
        for (const QString& name : {u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Delta"_s, u"Echo"_s})
            ChooseByName(*form.combo, name);
        ChooseWithMouse(*form.combo, 4); // the oldest MRU entry, Alpha, is now the selection
        form.combo->SetMRUMax(2);
        QCOMPARE(Texts(*form.combo), QStringList({u"Echo"_s, u"Delta"_s}) + kNames);
        // the selected face stays selected, now through its ordinary entry
        QCOMPARE(form.combo->currentText(), u"Alpha"_s);
        QCOMPARE(form.combo->currentIndex(), 2);
    }

    void switchingTheSectionOffRemovesEveryMRUEntry()
    {
        Form form;
        form.combo->SetMRUList(true);
        for (const QString& name : {u"Golf"_s, u"Hotel"_s})
            ChooseByName(*form.combo, name);
        QCOMPARE(form.combo->currentIndex(), 0);
        form.combo->SetMRUList(false);
        QCOMPARE(Texts(*form.combo), kNames);
        QCOMPARE(form.combo->MRUCount(), 0);
        QCOMPARE(form.combo->currentText(), u"Hotel"_s);
    }

    void aSectionOfNoEntriesAddsNone()
    {
        Form form;
        form.combo->SetMRUList(true);
        form.combo->SetMRUMax(0);
        ChooseWithMouse(*form.combo, 2);
        QCOMPARE(Texts(*form.combo), kNames);
        QCOMPARE(form.combo->currentText(), u"Charlie"_s);
        form.combo->SetMRUMax(-3);
        QCOMPARE(form.combo->MRUMax(), 0);
    }

    void focusMovesAfterAChoiceButNotWhileStepping_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("mouse choice") << u"mouse"_s << QList<int>() << u"Charlie"_s << true;
        QTest::newRow("Enter") << u"keys"_s << QList<int> {Qt::Key_Return} << u"Alpha"_s << true;
        QTest::newRow("arrow key") << u"keys"_s << QList<int> {Qt::Key_Down} << u"Bravo"_s << false;
        QTest::newRow("page key") << u"keys"_s << QList<int> {Qt::Key_PageDown} << u"Bravo"_s
                                  << false;
        QTest::newRow("arrow keys both ways")
            << u"keys"_s << QList<int> {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << u"Bravo"_s
            << false;
        // after stepping, any other key that changes the selection is a choice
        QTest::newRow("arrow key, then a letter")
            << u"keys"_s << QList<int> {Qt::Key_Down, Qt::Key_D} << u"Delta"_s << true;
        QTest::newRow("arrow key, then End")
            << u"keys"_s << QList<int> {Qt::Key_Down, Qt::Key_End} << u"Hotel"_s << true;
        QTest::newRow("arrow key, then Home")
            << u"keys"_s << QList<int> {Qt::Key_Down, Qt::Key_Home} << u"Alpha"_s << true;
        QTest::newRow("arrow key, Shift, then a letter")
            << u"keys"_s << QList<int> {Qt::Key_Down, Qt::Key_Shift, Qt::Key_E} << u"Echo"_s
            << true;
    }
    void focusMovesAfterAChoiceButNotWhileStepping()
    {
        QFETCH(QString, how);
        QFETCH(QList<int>, keys);
        QFETCH(QString, selected);
        QFETCH(bool, handedOver);
        Form form;
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        form.combo->SetFocusControl(form.other);
        form.combo->setCurrentIndex(0);
        form.combo->setFocus();
        QVERIFY(form.combo->hasFocus());
        if (how == u"mouse")
            ChooseWithMouse(*form.combo, 2);
        for (const int key : keys) {
            if (form.combo->hasFocus())
                QTest::keyClick(form.combo, Qt::Key(key));
        }
        QCOMPARE(form.combo->currentText(), selected);
        QCOMPARE(form.other->hasFocus(), handedOver);
        QCOMPARE(form.combo->hasFocus(), !handedOver);
    }

    void openListReportsEachHighlightOnce()
    {
        Form form;
        form.combo->setCurrentIndex(2);
        form.combo->showPopup();
        QSignalSpy spy(form.combo, &QComboBox::highlighted);
        QTest::keyClick(form.combo->view(), Qt::Key_Down);
        QTest::keyClick(form.combo->view(), Qt::Key_Down);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
        QCOMPARE(spy.at(1).at(0).toInt(), 4);
        QCOMPARE(form.combo->currentIndex(), 2);
    }

    void focusControlThatGoesAwayIsForgotten()
    {
        Form form;
        form.combo->SetFocusControl(form.other);
        delete form.other;
        QCOMPARE(form.combo->FocusControl(), nullptr);
        ChooseWithMouse(*form.combo, 1); // must not reach the deleted control
        QCOMPARE(form.combo->currentIndex(), 1);
    }

    void borderLook_data()
    {
        QTest::addColumn<bool>("flat");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("flatLook");
        QTest::newRow("default") << false << false << false << false;
        QTest::newRow("flat, idle") << true << false << false << true;
        QTest::newRow("flat, mouse over") << true << true << false << false;
        QTest::newRow("flat, focused") << true << false << true << false;
    }
    void borderLook()
    {
        QFETCH(bool, flat);
        QFETCH(bool, hover);
        QFETCH(bool, focus);
        QFETCH(bool, flatLook);
        Form form;
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        form.combo->SetFlat(flat);
        if (focus)
            form.combo->setFocus();
        else
            form.other->setFocus();
        if (hover) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(form.combo, &enter);
        }
        QCOMPARE(form.combo->UsesFlatLook(), flatLook);
        const QImage image = form.combo->grab().toImage();
        const int w = image.width();
        const int h = image.height();
        const QRgb face = ColorToPixel(clBtnFace);
        if (flatLook) {
            for (const QPoint& p : {QPoint(0, h / 2), QPoint(w / 2, 0), QPoint(w - 1, h / 2),
                                    QPoint(1, h / 2), QPoint(w / 2, h - 2)})
                QCOMPARE(Pixel(image, p.x(), p.y()), face);
            QCOMPARE(Pixel(image, 2, h / 2), ColorToPixel(clWindow));
            QCOMPARE(Pixel(image, w / 2, h - 3), ColorToPixel(clWindow));
        } else {
            QCOMPARE(Pixel(image, 0, h / 2), ColorToPixel(clBtnShadow));
            QCOMPARE(Pixel(image, w / 2, 0), ColorToPixel(clBtnShadow));
            QCOMPARE(Pixel(image, w - 1, h / 2), ColorToPixel(clBtnHighlight));
            QCOMPARE(Pixel(image, w / 2, h - 1), ColorToPixel(clBtnHighlight));
            QCOMPARE(Pixel(image, 1, h / 2), ColorToPixel(clWindowFrame));
            QCOMPARE(Pixel(image, w / 2, 1), ColorToPixel(clWindowFrame));
            QCOMPARE(Pixel(image, w - 2, h / 2), face);
            QCOMPARE(Pixel(image, w / 2, h - 2), face);
        }
    }

    void flatBorderReturnsWhenTheMouseLeaves()
    {
        Form form;
        form.combo->SetFlat(true);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(form.combo, &enter);
        QVERIFY(!form.combo->UsesFlatLook());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(form.combo, &leave);
        QVERIFY(form.combo->UsesFlatLook());
    }

    void separatorUnderTheLastMRUEntryInTheOpenListOnly_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<unsigned>("state");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("last MRU entry, open list") << 1 << 0u << true;
        QTest::newRow("last MRU entry, selected") << 1 << unsigned(odSelected) << true;
        QTest::newRow("last MRU entry, closed field") << 1 << unsigned(odComboBoxEdit) << false;
        QTest::newRow("first MRU entry") << 0 << 0u << false;
        QTest::newRow("ordinary entry") << 2 << 0u << false;
    }
    void separatorUnderTheLastMRUEntryInTheOpenListOnly()
    {
        QFETCH(int, index);
        QFETCH(unsigned, state);
        QFETCH(bool, drawn);
        Form form;
        form.combo->SetMRUList(true);
        ChooseByName(*form.combo, u"Hotel"_s);
        ChooseByName(*form.combo, u"Golf"_s);
        QCOMPARE(form.combo->MRUCount(), 2);
        QImage image(120, 15, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        const QRect item(0, 0, 120, 15);
        form.combo->DrawItem(p, index, item, state);
        p.end();
        for (int x : {0, 60, 119}) {
            QCOMPARE(Pixel(image, x, 14) == 0, drawn);
            QCOMPARE(Pixel(image, x, 12) == 0, drawn);
            QVERIFY(Pixel(image, x, 13) != 0);
        }
    }

    void openListIsAtLeastDropDownWidth_data()
    {
        QTest::addColumn<int>("dropDownWidth");
        QTest::addColumn<int>("listWidth");
        QTest::newRow("unset") << 0 << 200;
        QTest::newRow("narrower than the control") << 120 << 200;
        QTest::newRow("wider") << 350 << 350;
    }
    void openListIsAtLeastDropDownWidth()
    {
        QFETCH(int, dropDownWidth);
        QFETCH(int, listWidth);
        Form form;
        form.combo->SetDropDownWidth(dropDownWidth);
        form.combo->showPopup();
        QWidget* list = form.combo->view()->window();
        QCOMPARE(list->width(), listWidth);
        QCOMPARE(list->pos(), form.combo->mapToGlobal(QPoint(0, form.combo->height())));
        QVERIFY(form.combo->DroppedDown());
        form.combo->hidePopup();
        QVERIFY(!form.combo->DroppedDown());
    }
};

QUILVORO_APP_TEST_MAIN(tst_SkinComboBox)
#include "tst_SkinComboBox.moc"
