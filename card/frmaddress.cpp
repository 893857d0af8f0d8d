#include "frmaddress.h"

#include "active_card.h"
#include "card_layout.h"
#include "contacts_commands.h"
#include "data_controls.h"
#include "edit_commands.h"
#include "edit_detection.h"
#include "field_validator.h"
#include "record_commands.h"
#include "vb_keys.h"

#include "core/book_changes.h"
#include "core/contrast.h"
#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/program.h"
#include "core/toolbar_button.h"
#include "core/traced.h"
#include "platform/date_text.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "widgets/ado_data_control.h"
#include "widgets/data_combo.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

frmAddress* g_card = nullptr;

QFont withFallbacks(const QString& family, qreal points, bool bold, const QString& fallback)
{
    QFont font;
    font.setFamilies({family, fallback});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The record's values shown in the card's fields.
void fillCard(QWidget& form)
{
    auto& card = static_cast<frmAddress&>(form);
    records::Address& r = *card.cls1();
    if (r.RecCount() <= 0)
        return;
    card.dbcFld[0]->setBoundText(QString::number(r.SalutationId()));
    card.dbcFld[1]->setBoundText(QString::number(r.ReligionId()));
    const QString texts[] = {r.Name(),   r.Company(), r.Address1(), r.Address2(), r.Address3(),
                             r.City(),   r.PinCode(), r.State(),    r.Country(),  r.PhOff1(),
                             r.PhOff2(), r.PhExt(),   r.PhFax(),    r.PhRes1(),   r.PhRes2(),
                             r.PhCell(), r.PhPager(), r.EmlAddr()};
    for (int i = 0; i < card.txtFld.size(); ++i)
        card.txtFld[i]->setText(texts[i]);
    card.txtDt[0]->setText(r.DtBirth());
    card.txtDt[1]->setText(r.DtMarriage());
    card.txtDt[2]->setText(r.DtJoining());
}

} // namespace

frmAddress::frmAddress(QWidget* parent) : QWidget(parent)
{
    g_card = this;
    setObjectName(QStringLiteral("frmAddress"));
    setWindowTitle(QStringLiteral("Address"));
    tovren::registerControlFiller(objectName(), fillCard);
    createControls();
    connect(&tovren::BookChanges::instance(), &tovren::BookChanges::written, this,
            [] { modGenProcedures::showBookChanged(); });
}

frmAddress::~frmAddress()
{
    // The fields outlive this part of the card while they are torn down;
    // nothing they report may reach it any more.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
    }
    if (g_card == this)
        g_card = nullptr;
}

frmAddress* frmAddress::instance()
{
    return g_card;
}

frmAddress* frmAddress::open()
{
    if (!g_card)
        (new frmAddress)->Form_Load();
    tovren::requireFrame().showChild(g_card);
    return g_card;
}

records::Address* frmAddress::cls1()
{
    if (!m_cls1)
        m_cls1 = std::make_unique<records::Address>();
    return m_cls1.get();
}

void frmAddress::createControls()
{
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    // The fields take the focus, and the area scrolls to show the one that has it.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("cardContent"));
    const tovren::Twips twips(QApplication::font());
    m_content->setFixedSize(twips.px(tovren::kCardWidth), twips.px(tovren::kCardHeight));
    m_content->setAutoFillBackground(true);
    scroll->setWidget(m_content);
    scroll->viewport()->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    auto* banner = new QFrame(m_content);
    banner->setObjectName(QStringLiteral("Shape1"));
    banner->setGeometry(twips.rect(15, 15, 11910, 405));
    banner->setFrameShape(QFrame::Box);
    auto* heading = new QLabel(QStringLiteral("Addresses"), banner);
    heading->setObjectName(QStringLiteral("Label9"));
    heading->setFont(twips.font(withFallbacks(QStringLiteral("MS Sans Serif"), 13.5, true,
                                              QStringLiteral("Liberation Sans"))));
    heading->setGeometry(banner->rect().adjusted(8, 0, 0, 0));

    const QFont fieldFont = twips.font(withFallbacks(QStringLiteral("Times New Roman"), 9.75, false,
                                                     QStringLiteral("Liberation Serif")));
    const QFont labelFont = twips.font(withFallbacks(QStringLiteral("MS Sans Serif"), 9.75, true,
                                                     QStringLiteral("Liberation Sans")));
    // Blue on the desktop's tooltip colour, unless a dark or high-contrast
    // desktop makes that colour one blue cannot be read on.
    QPalette fieldColours = palette();
    const QColor fieldBase = palette().color(QPalette::ToolTipBase);
    fieldColours.setColor(QPalette::Base, fieldBase);
    fieldColours.setColor(
        QPalette::Text,
        tovren::readableOn(fieldBase, Qt::blue, palette().color(QPalette::ToolTipText)));

    QWidget* previous = nullptr;
    for (int i = 0; i < tovren::kCardFieldCount; ++i) {
        const tovren::CardField& spec = tovren::kCardFields[i];
        const QRect at = twips.rect(spec.left, spec.top, spec.width, tovren::kFieldHeight);
        QWidget* control = nullptr;
        QString labelArray;
        switch (spec.kind) {
        case tovren::CardControl::Combo: {
            auto* combo = new widgets::DataCombo(m_content);
            combo->setObjectName(QStringLiteral("dbcFld_%1").arg(spec.index));
            combo->setDataField(QString::fromLatin1(spec.dataField));
            combo->setListField(QString::fromLatin1(spec.label));
            combo->setBoundColumn(QString::fromLatin1(spec.dataField));
            combo->lineEdit()->installEventFilter(this);
            combo->installEventFilter(this);
            const int index = spec.index;
            connect(combo, &widgets::DataCombo::Click, this,
                    [this, index](int area) { dbcFld_Click(index, area); });
            connect(combo, &widgets::DataCombo::DblClick, this,
                    [this, index](int area) { dbcFld_DblClick(index, area); });
            connect(combo, &widgets::DataCombo::Change, this,
                    [this, index] { dbcFld_Change(index); });
            auto* source = new widgets::AdoDataControl(this);
            source->setObjectName(QStringLiteral("adcFld_%1").arg(spec.index));
            source->setTag(QString::fromLatin1(spec.label));
            dbcFld << combo;
            adcFld << source;
            control = combo;
            labelArray = QStringLiteral("lblDbc");
            break;
        }
        case tovren::CardControl::Text:
        case tovren::CardControl::Date: {
            auto* field = new QLineEdit(m_content);
            const bool date = spec.kind == tovren::CardControl::Date;
            field->setObjectName(QStringLiteral("%1_%2")
                                     .arg(date ? QStringLiteral("txtDt") : QStringLiteral("txtFld"))
                                     .arg(spec.index));
            field->setProperty("DataField", QString::fromLatin1(spec.dataField));
            // The field counts its length in UTF-16 units, of which a
            // character takes one or two; the validator keeps the limit in
            // whole characters.
            field->setMaxLength(2 * spec.maxLength);
            field->setValidator(new tovren::FieldValidator(spec.maxLength, field));
            field->installEventFilter(this);
            connect(field, &QLineEdit::textChanged, this, &frmAddress::fieldChange);
            (date ? txtDt : txtFld) << field;
            control = field;
            labelArray = date ? QStringLiteral("lblDt") : QStringLiteral("lblTxt");
            break;
        }
        case tovren::CardControl::CalendarButton: {
            auto* button = new QPushButton(QStringLiteral("."), m_content);
            button->setObjectName(QStringLiteral("cmdDt_%1").arg(spec.index));
            // The caption is a dot: the date it picks is what names it.
            const QString date = lblDt[spec.index]->text();
            button->setAccessibleName(date + QStringLiteral(" calendar"));
            button->setToolTip(QStringLiteral("Pick the %1 from a calendar").arg(date));
            const int index = spec.index;
            connect(button, &QPushButton::clicked, this, [this, index] { cmdDt_Click(index); });
            cmdDt << button;
            control = button;
            break;
        }
        }
        control->setGeometry(at);
        if (spec.kind != tovren::CardControl::CalendarButton) {
            control->setFont(fieldFont);
            control->setPalette(fieldColours);
            control->setToolTip(QString::fromLatin1(spec.tooltip));
            auto* label = new QLabel(QString::fromLatin1(spec.label), m_content);
            label->setObjectName(QStringLiteral("%1_%2").arg(labelArray).arg(spec.index));
            label->setFont(labelFont);
            label->setBuddy(control);
            // A field of the first column has its label at the row's start;
            // the others have theirs just before them.
            const bool firstColumn = spec.left == tovren::kFirstColumnLeft;
            const int labelLeft = firstColumn ? twips.px(tovren::kLabelLeft)
                                              : at.left() - twips.px(118 * tovren::kTwipsPerPixel);
            label->setGeometry(labelLeft, at.top(),
                               at.left() - labelLeft - twips.px(6 * tovren::kTwipsPerPixel),
                               at.height());
            label->setAlignment(Qt::AlignVCenter | (firstColumn ? Qt::AlignLeft : Qt::AlignRight));
            (labelArray == QLatin1String("lblDbc")  ? lblDbc
             : labelArray == QLatin1String("lblDt") ? lblDt
                                                    : lblTxt)
                << label;
        }
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }

    mvwDt = new QCalendarWidget(m_content);
    mvwDt->setObjectName(QStringLiteral("mvwDt"));
    mvwDt->setGeometry(twips.rect(2730, 6720, 2700 + 60 * tovren::kTwipsPerPixel,
                                  2370 + 40 * tovren::kTwipsPerPixel));
    mvwDt->hide();
    connect(mvwDt, &QCalendarWidget::clicked, this, &frmAddress::mvwDt_DateClick);
    // Enter picks the date as a click does; Escape closes the calendar.
    connect(mvwDt, &QCalendarWidget::activated, this, &frmAddress::mvwDt_DateClick);
    mvwDt->installEventFilter(this);
    if (previous)
        setTabOrder(previous, mvwDt);
    setBackColor(kNormalColor);
}

QSize frmAddress::sizeHint() const
{
    return m_content->size() + QSize(2, 2);
}

QColor frmAddress::backColor() const
{
    return m_content->palette().color(QPalette::Window);
}

void frmAddress::beginAdding()
{
    m_bAdd = true;
    setBackColor(kAddingColor);
    tovren::requireFrame().announce(QStringLiteral("Adding a new record"));
}

void frmAddress::endEditing()
{
    if (m_bAdd)
        tovren::requireFrame().announce(QStringLiteral("Adding ended"));
    m_bAdd = false;
    m_bEdit = false;
    setBackColor(kNormalColor);
}

void frmAddress::setBackColor(const QColor& color)
{
    for (QWidget* area : {static_cast<QWidget*>(m_content), m_content->parentWidget()})
        area->setPalette(tovren::onBackground(palette(), color));
}

bool frmAddress::isFilterEntry()
{
    const tovren::Frame* main = tovren::frame();
    return main && main->button(tovren::Cmd::Filter)->mixedState()
           && !main->button(tovren::Cmd::AppFilter)->mixedState();
}

void frmAddress::frmLetTbrbtns()
{
    modGenProcedures::LetTbrBtns(TbrNormal);
}

void frmAddress::frmGetTbrbtns()
{
    modGenProcedures::GetTbrBtns(TbrNormal);
}

void frmAddress::frmLetFilterTbrbtns()
{
    modGenProcedures::LetTbrBtns(TbrFilter);
}

void frmAddress::frmGetFilterTbrbtns()
{
    modGenProcedures::GetTbrBtns(TbrFilter);
}

void frmAddress::Form_Load()
{
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++modGenProcedures::nOpenCards;
        modGenProcedures::SetActConn(this);
        modGenProcedures::SetActConnNot(this);
        ctlLast = dbcFld[0];
        QApplication::restoreOverrideCursor();
        tovren::requireFrame().menuItem(tovren::Cmd::Email)->setEnabled(true);
    } catch (const platform::RunTimeError& error) {
        QApplication::restoreOverrideCursor();
        platform::MsgBox(QStringLiteral("frmAddress Form_Load") + QString::number(error.number())
                         + QStringLiteral(" : ") + error.description());
    }
}

void frmAddress::Form_Activate()
{
    tovren::traced("frmAddress.Form_Activate", [&] {
        if (!bActivated) {
            modGenProcedures::DisNoRecBtns(tovren::Mode::Normal);
            frmLetTbrbtns();
            bActivated = true;
        }
        if (cls1()->RecCount() >= 1) {
            modGenProcedures::GetTbrBtns(TbrNormal);
            if (ctlLast)
                ctlLast->setFocus();
            modGenProcedures::writeRecordCounter(this);
        } else {
            modGenProcedures::DisNoRecBtns(tovren::Mode::NoRecs);
            modGenProcedures::LckCtrls(this, true);
        }
        if (m_mvarBkmk.isValid())
            modGenProcedures::writeRecordCounter(this);
        if (!m_bAdd)
            modGenProcedures::AssgnValToCtrls(this);
    });
}

void frmAddress::Form_Deactivate()
{
    modGenProcedures::LetTbrBtns(TbrNormal);
}

void frmAddress::closeEvent(QCloseEvent* event)
{
    // Unsaved changes are never closed away silently: the same question as
    // File, Exit, and a record that could not be saved keeps the card open.
    if (m_bEdit && modGenProcedures::bytSavCanRec() == 2) {
        event->ignore();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void frmAddress::Form_Unload(bool& Cancel)
{
    tovren::traced("frmAddress.Form_Unload", {{"Cancel", "Integer", Cancel}}, [&] {
        tovren::Frame& main = tovren::requireFrame();
        // A card closed as a query form or filtered takes its filter with it:
        // the next card opens on all records, in the normal look.
        main.button(tovren::Cmd::Filter)->setMixedState(false);
        main.button(tovren::Cmd::AppFilter)->setMixedState(false);
        if (--modGenProcedures::nOpenCards == 0)
            modGenProcedures::DisNoRecBtns(tovren::Mode::Exit);
        main.menuItem(tovren::Cmd::Addresses)->setEnabled(true);
        main.menuItem(tovren::Cmd::Email)->setEnabled(false);
        bActivated = false;
        m_cls1.reset();
        if (g_card == this)
            g_card = nullptr;
        Q_EMIT unloaded();
    });
}

bool frmAddress::isLocked(QWidget* field) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit->isReadOnly();
    if (auto* combo = qobject_cast<widgets::DataCombo*>(field))
        return combo->Locked();
    return false;
}

void frmAddress::closeCalendar()
{
    mvwDt->hide();
    if (ctlDate)
        ctlDate->setFocus();
}

bool frmAddress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mvwDt) {
        if (event->type() != QEvent::KeyPress
            || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return QWidget::eventFilter(watched, event);
        closeCalendar();
        return true;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    // The combo's own text part stands for the combo.
    auto* combo = qobject_cast<widgets::DataCombo*>(widget);
    if (!combo && widget)
        combo = qobject_cast<widgets::DataCombo*>(widget->parentWidget());
    QWidget* field = combo ? static_cast<QWidget*>(combo) : widget;
    const int comboIndex = combo ? int(dbcFld.indexOf(combo)) : -1;

    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Menu shortcuts come first, as in every window of the program:
        // Shift+Del deletes the record rather than cutting the text.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (tovren::requireFrame().isMenuShortcut(QKeySequence(key->keyCombination())))
            return true;
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            // The card looks at every key first: Escape cancels the change.
            modGenProcedures::Cancel(tovren::requireFrame().ActiveForm());
            return true;
        }
        m_pressedKeys.insert(key->key());
        const int ascii = tovren::keyAscii(*key);
        if (ascii && !isFilterEntry() && !isLocked(field))
            modGenProcedures::ChkShiftKeyVals(ascii, 0);
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A release whose press went elsewhere (the key that chose the menu
        // item opening the card) is no typing in the card.
        if (!key->isAutoRepeat() && m_pressedKeys.remove(key->key()) && !isFilterEntry()
            && !isLocked(field))
            modGenProcedures::ChkShiftKeyVals(tovren::virtualKeyCode(key->key()),
                                              tovren::shiftMask(key->modifiers()));
        break;
    }
    case QEvent::FocusIn:
        if (comboIndex >= 0)
            dbcFld_GotFocus(comboIndex);
        else if (auto* edit = qobject_cast<QLineEdit*>(field))
            fieldGotFocus(edit);
        break;
    case QEvent::FocusOut:
        if (comboIndex >= 0 && isFilterEntry())
            ctlLast = combo;
        break;
    case QEvent::MouseButtonPress:
        if (comboIndex >= 0 && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            dbcFld_MouseDown(comboIndex,
                             static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        break;
    case QEvent::ContextMenu:
        // The menu key opens the same pop-up as the right mouse button; the
        // field's own menu never shows.
        if (comboIndex >= 0) {
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
                dbcFld_MouseDown(comboIndex, combo->mapToGlobal(QPoint(0, combo->height())));
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmAddress::fieldGotFocus(QLineEdit* field)
{
    field->selectAll();
    ctlLast = field;
}

void frmAddress::fieldChange()
{
    if (!isFilterEntry() && m_bEdit)
        modGenProcedures::TbrMnuBtns(tovren::Group::Save, true);
}

void frmAddress::dbcFld_GotFocus(int Index)
{
    ctlLast = dbcFld[Index];
    if (sUndo[Index].isEmpty()) {
        sUndo[Index] = dbcFld[Index]->Text();
        sUndoTmp[Index] = sUndo[Index];
    }
}

void frmAddress::dbcFld_Click(int Index, int Area)
{
    tovren::traced(
        "frmAddress.dbcFld_Click", {{"Index", "Integer", Index}, {"Area", "Integer", Area}}, [&] {
            if (!isFilterEntry() && (Area == 1 || Area == 2) && !dbcFld[Index]->Locked()) {
                modGenProcedures::TbrMnuBtns(tovren::Group::Save, true);
                markChanged();
            }
        });
}

void frmAddress::dbcFld_DblClick(int Index, int Area)
{
    tovren::traced("frmAddress.dbcFld_DblClick",
                   {{"Index", "Integer", Index}, {"Area", "Integer", Area}}, [&] {
                       modGenProcedures::nLookUpIdx = qint16(Index);
                       modGenProcedures::EditEdit(this);
                   });
}

void frmAddress::dbcFld_Change(int Index)
{
    tovren::traced("frmAddress.dbcFld_Change", {{"Index", "Integer", Index}}, [&] {
        if (!isFilterEntry() && !dbcFld[Index]->Locked() && m_bEdit)
            modGenProcedures::TbrMnuBtns(tovren::Group::Save, true);
    });
}

void frmAddress::dbcFld_MouseDown(int Index, const QPoint& globalPos)
{
    modGenProcedures::nLookUpIdx = qint16(Index);
    tovren::Frame& main = tovren::requireFrame();
    QMenu* popup = main.popupMenu();
    popup->setDefaultAction(main.menuItem(tovren::Cmd::PopupEdit));
    popup->popup(globalPos);
}

void frmAddress::dbcFld_Undo(qint16 Index)
{
    if (Index < 0 || Index >= dbcFld.size())
        platform::raise(9, QStringLiteral("Subscript out of range"));
    sUndoTmp[Index] = sUndo[Index];
    sUndo[Index] = dbcFld[Index]->Text();
    dbcFld[Index]->setText(sUndoTmp[Index]);
}

void frmAddress::cmdDt_Click(int Index)
{
    tovren::traced("frmAddress.cmdDt_Click", {{"Index", "Integer", Index}}, [&] {
        QLineEdit* box = txtDt[Index];
        if (!ctlDate)
            ctlDate = box;
        if (mvwDt->isHidden() || ctlDate != box) {
            mvwDt->move(box->x(), box->y() + box->height());
            const auto date = platform::parseDate(box->text());
            mvwDt->setSelectedDate(date ? *date : QDate::currentDate());
            mvwDt->show();
            mvwDt->raise();
            mvwDt->setFocus();
            ctlDate = box;
        } else {
            closeCalendar();
        }
    });
}

void frmAddress::mvwDt_DateClick(QDate DateClicked)
{
    if (cls1()->RecCount() <= 0 || !ctlDate)
        return;
    markChanged();
    ctlDate->setText(platform::dateText(DateClicked));
    closeCalendar();
}

bool frmAddress::checked(QWidget* field)
{
    if (cls1()->bValDat)
        return true;
    field->setFocus();
    return false;
}

bool frmAddress::bValDat()
{
    return tovren::traced("frmAddress.bValDat", [&] {
        records::Address& r = *cls1();
        r.bValDat = true;
        r.setCompany(txtFld[1]->text());
        if (!checked(txtFld[1]))
            return false;
        r.setName(txtFld[0]->text());
        if (!checked(txtFld[0]))
            return false;

        // A missing salutation or religion may be accepted by the user.
        const char* missing[] = {
            "You have not selected Salutation. Do you still want to save the changes?",
            "You have not selected Religion. Do you still want to save the changes?"};
        for (int i = 0; i < 2; ++i) {
            const QString bound = dbcFld[i]->BoundText();
            const qint32 id = bound.isEmpty() ? 0 : bound.toInt();
            if (i == 0)
                r.setSalutationId(id);
            else
                r.setReligionId(id);
            if (!r.bValDat) {
                if (platform::MsgBox(QString::fromLatin1(missing[i]), platform::Buttons::YesNo,
                                     platform::Icon::Critical, QStringLiteral("Save"))
                    == platform::Answer::No) {
                    dbcFld[i]->setFocus();
                    return false;
                }
                r.bValDat = true;
            }
        }

        using Setter = void (records::Address::*)(const QString&);
        const std::pair<Setter, QLineEdit*> rest[] = {
            {&records::Address::setAddress1, txtFld[2]},
            {&records::Address::setAddress2, txtFld[3]},
            {&records::Address::setAddress3, txtFld[4]},
            {&records::Address::setCity, txtFld[5]},
            {&records::Address::setPinCode, txtFld[6]},
            {&records::Address::setState, txtFld[7]},
            {&records::Address::setCountry, txtFld[8]},
            {&records::Address::setPhOff1, txtFld[9]},
            {&records::Address::setPhOff2, txtFld[10]},
            {&records::Address::setPhExt, txtFld[11]},
            {&records::Address::setPhFax, txtFld[12]},
            {&records::Address::setPhRes1, txtFld[13]},
            {&records::Address::setPhRes2, txtFld[14]},
            {&records::Address::setPhCell, txtFld[15]},
            {&records::Address::setPhPager, txtFld[16]},
            {&records::Address::setDtBirth, txtDt[0]},
            {&records::Address::setDtMarriage, txtDt[1]},
            {&records::Address::setDtJoining, txtDt[2]},
            {&records::Address::setEmlAddr, txtFld[17]},
        };
        for (const auto& [set, field] : rest) {
            (r.*set)(field->text());
            if (!checked(field))
                return false;
        }
        return r.bValDat;
    });
}
