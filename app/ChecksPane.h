#pragma once

#include "checks/Finding.h"

#include <QIcon>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace app {

/// The Checks pane: what is wrong with the open ship as it stands, one row per finding under
/// a line with the counts. A double-click (or Enter) on a row asks the window to go there.
class ChecksPane : public QWidget
{
    Q_OBJECT

public:
    explicit ChecksPane(QWidget* parent);

    /// Lists `findings`; without a ship (nothing) the pane says so and lists nothing. The same
    /// findings as shown leave the rows alone, with the user's row and scroll position.
    void showFindings(std::optional<std::vector<checks::Finding>> findings);
    /// The findings listed, row by row; empty without a ship.
    const std::vector<checks::Finding>& findings() const;
    /// The line above the rows: "Checks: 2 errors, 5 warnings".
    QString countsLine() const;

signals:
    /// Finding `index` of the list last shown was double-clicked.
    void findingActivated(int index);

private:
    QLabel* m_counts = nullptr;
    QTreeWidget* m_rows = nullptr;
    QIcon m_errorIcon;
    QIcon m_warningIcon;
    /// What the rows show; nothing before the first ship.
    std::optional<std::vector<checks::Finding>> m_shown;
};

} // namespace app
