#pragma once

#include "platform/DialogBuilder.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <initializer_list>
#include <memory>
#include <utility>

// A ship built in memory and opened as the editor opens a file, with the sink its messages go to.
struct OpenShip
{
    explicit OpenShip(const testsupport::Ship& ship)
        : file(shipfile::ShipFile::fromBytes(testsupport::buildShip(ship), "test.shp", sink))
    {
    }

    testsupport::RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
};

/// The control `id` of `dialog`; fails the test when there is none.
template <typename T> T* control(const QWidget& dialog, int id)
{
    T* found = platform::findControl<T>(dialog, id);
    if (!found)
        qFatal("no control %d", id);
    return found;
}

/// A dialog made from `args`, shown and exposed, with its controls at hand by id.
template <typename Dialog> struct Shown
{
    template <typename... Args> explicit Shown(Args&&... args) : dialog(std::forward<Args>(args)...)
    {
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            qWarning("dialog not exposed");
    }
    QLineEdit* edit(int id) { return control<QLineEdit>(dialog, id); }
    QListWidget* list(int id) { return control<QListWidget>(dialog, id); }
    void click(int button)
    {
        QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton);
    }

    Dialog dialog;
};

/// Clicks entry `row` of `list`, scrolling it into view first.
inline void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    const QRect area = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, area.center());
}

/// The texts of the entries of `list`, in order.
inline QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

/// Selects the field's text and types `text` over it, one key at a time, as a user does.
inline void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

/// A list of texts written as plain string literals.
/// Whether a number field is marked as holding no valid value: its background is not a plain
/// field's.
inline bool isMarkedInvalid(const QLineEdit& field)
{
    return field.palette().color(QPalette::Base) != QLineEdit().palette().color(QPalette::Base);
}

inline QStringList texts(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* text : list)
        out << QString::fromUtf8(text);
    return out;
}
