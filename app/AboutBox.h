#pragma once

#include <QDialog>

namespace app {

/// The About box: the program's icon, name, version and what it is; it only closes.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace app
