#pragma once
// The real program on an address book per test, the card opened from its menu.

#include "shell/shell_fixture.h"

#include "card/frmaddress.h"
#include "data/connection.h"
#include "widgets/data_combo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include "data/database_io.h"
#include <QTest>

class CardTest : public ShellTest {
protected:
    // The first column of what `statement`, with `values` bound, returns.
    QStringList sql(const QString& statement, const QVariantList& values = {})
    {
        auto db = data::Connection::open(QString("Data Source=" + home("TND.dbx")));
        QStringList column;
        for (const QVariantList& row : db->io().execute(statement, values))
            column << row.value(0).toString();
        return column;
    }
    // The rows of the Address table as "Name|Company|City".
    QStringList stored()
    {
        return sql("SELECT Name || '|' || ifnull(Company, '') || '|' || ifnull(City, '') "
                   "FROM Address ORDER BY AddressId");
    }

    // The card opened from the menu on a book of `contacts`, each stored
    // as its name, "name Ltd", Pune.
    frmAddress& openCard(const QStringList& contacts = {})
    {
        addDatabase();
        for (const QString& name : contacts)
            sql("INSERT INTO Address (Name, Company, City, SalutationId, ReligionId) "
                "VALUES (?, ?, 'Pune', 1, 1)",
                {name, QString(name + " Ltd")});
        start().show();
        m_main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
        trigger("mnuAddress");
        QApplication::processEvents();
        EXPECT_NE(frmAddress::instance(), nullptr);
        return *frmAddress::instance();
    }

    // Types `text` into `field`, in place of what it holds or after it.
    static void type(QLineEdit* field, const QString& text, bool append = false)
    {
        field->setFocus();
        append ? field->end(false) : field->selectAll();
        QTest::keyClicks(field, text);
    }
    // A menu item chosen, with the answers to the messages it will show.
    void trigger(const char* menuItem, std::initializer_list<platform::Answer> answers = {})
    {
        for (const platform::Answer answer : answers)
            m_prompts.answerMessage(answer);
        m_main->menuItem(menuItem)->trigger();
    }
    static void closeBox()
    {
        frmAddress::instance()->parentWidget()->close();
        QApplication::processEvents();
    }
    QString counter() const { return m_main->lblRecCount()->text(); }
    // The name, the counter and the edit state: "Bo 2 / 3", "Bo 2 / 3
    // changed", " 3 / 3 new changed"; a colour not the mode's is told too.
    QString shown() const
    {
        const frmAddress& card = *frmAddress::instance();
        const QColor colour = card.bAdd() ? frmAddress::kAddingColor : frmAddress::kNormalColor;
        return card.txtFld[0]->text() + ' ' + counter() + (card.bAdd() ? " new" : "")
               + (card.bEdit() ? " changed" : "")
               + (card.backColor() == colour ? "" : " in the wrong colour");
    }

    // How a book another program holds is told, before what it means.
    QString inUse() const
    {
        return "The address book '" + home("TND.dbx") + "' is in use by another program.\r\n";
    }
};
