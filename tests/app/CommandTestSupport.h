#pragma once

#include "app/MainDialog.h"
#include "shipfile/Bytes.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QTimer>

#include <functional>
#include <vector>

// Driving the main window's commands as a user does: clicks on its controls by id, and the
// modal dialogs the commands open.
namespace apptests {

/// Acts on every modal dialog that opens while it lives: `act` gets the dialog and must close
/// it (accept or reject). Counts the dialogs it saw.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QDialog&)> act) : m_act(std::move(act))
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            ++shown;
            m_act(*dialog);
        });
        m_poll.start();
    }

    int shown = 0;

private:
    std::function<void(QDialog&)> m_act;
    QTimer m_poll;
    QDialog* m_last = nullptr;
};

/// A closing action for ModalDriver that only rejects.
inline void rejectDialog(QDialog& dialog)
{
    dialog.reject();
}

/// Clicks entry `row` of the main window's list `listId`.
inline void clickEntry(app::MainDialog& window, int listId, int row)
{
    clickRow(window.control<QListWidget>(listId), row);
}

/// Double-clicks entry `row` of the main window's list `listId`.
inline void doubleClickEntry(app::MainDialog& window, int listId, int row)
{
    QListWidget* list = window.control<QListWidget>(listId);
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

/// Clicks a check box on its indicator, as a user does.
inline void clickCheckBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

/// The highlighted row of a list, -1 when none is highlighted.
inline int highlightedRow(app::MainDialog& window, int listId)
{
    const QList<QListWidgetItem*> selected = window.control<QListWidget>(listId)->selectedItems();
    return selected.isEmpty() ? -1 : window.control<QListWidget>(listId)->row(selected.first());
}

/// Copies of the records of a component's type-9 block.
inline std::vector<std::vector<std::uint8_t>> attachmentRecords(shipfile::ShipFile& file,
                                                                int component)
{
    std::vector<std::vector<std::uint8_t>> out;
    if (const shipfile::ShipBlock* block = shipfile::attachmentBlockOf(file, component))
        for (std::size_t i = 0; i < block->count; ++i) {
            const shipfile::Bytes record = block->record(i);
            out.emplace_back(record.begin(), record.end());
        }
    return out;
}

inline shipfile::Vec3 positionOf(const std::vector<std::uint8_t>& record)
{
    return shipfile::readVec3(record, shipfile::layout::attachment::Position)
        .value_or(shipfile::Vec3{});
}

inline std::vector<float> matrixOf(const std::vector<std::uint8_t>& record)
{
    std::vector<float> out;
    for (std::size_t i = 0; i < 9; ++i)
        out.push_back(
            shipfile::readF32(record, shipfile::layout::attachment::Matrix + 4 * i).value_or(0));
    return out;
}

inline std::int32_t fieldOf(const std::vector<std::uint8_t>& record, std::size_t offset)
{
    return shipfile::readI32(record, offset).value_or(-12345);
}

/// How many blocks of `type` the chain holds.
inline int blocksOfType(const shipfile::ShipFile& file, std::uint32_t type)
{
    int n = 0;
    for (const shipfile::ShipBlock* b = file.first(); b; b = b->next.get())
        n += b->type == type ? 1 : 0;
    return n;
}

/// The blocks of `type` in component `component`'s section, in order.
inline std::vector<const shipfile::ShipBlock*> sectionBlocks(const shipfile::ShipFile& file,
                                                             int component, std::uint32_t type)
{
    std::vector<const shipfile::ShipBlock*> out;
    const shipfile::ShipBlock* start = shipfile::sectionStart(file, component);
    if (!start)
        return out;
    const shipfile::ShipBlock* end = shipfile::sectionEnd(start);
    for (const shipfile::ShipBlock* b = start; b && b != end; b = b->next.get())
        if (b->type == type)
            out.push_back(b);
    return out;
}

/// Vertex `n` of the component's first vertex block.
inline shipfile::Vec3 vertexOf(const shipfile::ShipFile& file, int component, std::size_t n)
{
    const auto blocks = sectionBlocks(file, component, shipfile::layout::type::Vertices);
    if (blocks.empty())
        return {};
    return shipfile::readVec3(blocks.front()->record(n), shipfile::layout::vertex::Position)
        .value_or(shipfile::Vec3{});
}

} // namespace apptests
