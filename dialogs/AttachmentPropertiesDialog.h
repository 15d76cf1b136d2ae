#pragma once

#include "editing/AttachmentProperties.h"
#include "shipfile/ShipFile.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace dialogs {

/// "Object Attachment Properties": one attachment's model or colour, picked from a list that
/// depends on its kind, and its position as three coordinates.
///
/// The dialog reads the attachment when it is made and writes it back when the user accepts
/// it: the position, and the property for the kinds that have one. Cancel, Escape and the
/// close box leave the attachment as it was. Coordinates are shown with six decimals and read back
/// from their text, so a value that passes through the dialog keeps six decimals. While a
/// coordinate's text holds no number a ship can hold, the field is marked and OK is refused:
/// the dialog stays open, says which coordinate, and puts the cursor in it.
///
/// Run it only when `hasAttachment()`: an attachment that does not exist or whose kind is
/// negative gets no dialog, and closing one made for it writes nothing.
class AttachmentPropertiesDialog final : public QDialog
{
    Q_OBJECT

public:
    /// Edits record `attachment` of component `component`'s type-9 block, which becomes the
    /// ship's current one. The dialog shows no messages of its own.
    AttachmentPropertiesDialog(shipfile::ShipFile& file, int component, int attachment,
                               QWidget* parent = nullptr);

    bool hasAttachment() const { return m_values.has_value(); }
    /// The values as they stand: what the attachment held, changed by the user.
    std::optional<editing::AttachmentProperties> values() const { return m_values; }

    /// Writes the attachment back on OK (see above), then ends the dialog.
    void done(int result) override;

private:
    void fill();
    void selectionChanged();
    void xEdited(const QString& text);
    void yEdited(const QString& text);
    void zEdited(const QString& text);
    void coordinateEdited(QLineEdit& field, float shipfile::Vec3::*coordinate, const QString& text);
    /// Says why OK is refused and returns the first coordinate field without a number, or
    /// clears the line and returns nothing.
    QLineEdit* showRefusal();

    shipfile::ShipFile& m_file;
    const int m_component;
    const int m_attachment;
    std::optional<editing::AttachmentProperties> m_values;
    QListWidget* m_properties = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_z = nullptr;
    QLabel* m_problem = nullptr;
};

} // namespace dialogs
