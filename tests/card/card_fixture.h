#pragma once
// The real program on an address book per test: the main window started
// as the program starts it, and the address card opened from its menu.

#include "shell/shell_fixture.h"

#include "card/frmaddress.h"
#include "records/address.h"
#include "core/toolbar_button.h"

#include "data/connection.h"
#include "widgets/data_combo.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

class CardTest : public ShellTest {
protected:
    // Contacts to store before the card opens: name, company, city.
    void addContacts(const QStringList& names)
    {
        auto db = data::Connection::open(QStringLiteral("Data Source=")
                                             + home(QStringLiteral("TND.dbx")));
        QSqlQuery query(db->database());
        for (const QString& name : names) {
            query.prepare(QStringLiteral(
                "INSERT INTO Address (Name, Company, City, SalutationId, ReligionId) "
                "VALUES (?, ?, ?, 1, 1)"));
            query.addBindValue(name);
            query.addBindValue(QString(name + QStringLiteral(" Ltd")));
            query.addBindValue(QStringLiteral("Pune"));
            EXPECT_TRUE(query.exec());
        }
    }

    frmAddress& openCard(const QStringList& contacts = {})
    {
        addDatabase();
        addContacts(contacts);
        mdiMain& main = start();
        main.show();
        main.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        main.menuItem(QStringLiteral("mnuAddress"))->trigger();
        frmAddress* card = frmAddress::instance();
        EXPECT_NE(card, nullptr);
        QApplication::processEvents();
        return *card;
    }

    // New, the first salutation and religion, and `name` typed.
    void typeNewContact(frmAddress& card, const QString& name)
    {
        trigger("mnuNew");
        card.dbcFld[0]->setBoundText(QStringLiteral("1"));
        card.dbcFld[1]->setBoundText(QStringLiteral("1"));
        QTest::keyClicks(card.txtFld[0], name);
    }

    mdiMain& main() const { return *mdiMain::instance(); }
    bool enabled(const char* key) const
    {
        return main().buttonByKey(QString::fromLatin1(key))->isEnabled();
    }
    QString counter() const { return main().lblRecCount()->text(); }
    void trigger(const char* menuItem)
    {
        main().menuItem(QString::fromLatin1(menuItem))->trigger();
    }

    // The rows of the Address table as "Name|Company|City".
    QStringList stored()
    {
        auto db = data::Connection::open(QStringLiteral("Data Source=")
                                             + home(QStringLiteral("TND.dbx")));
        QSqlQuery query(db->database());
        query.exec(QStringLiteral("SELECT Name, Company, City FROM Address ORDER BY AddressId"));
        QStringList rows;
        while (query.next())
            rows << query.value(0).toString() + QLatin1Char('|') + query.value(1).toString()
                        + QLatin1Char('|') + query.value(2).toString();
        return rows;
    }
};
