#pragma once

#include "platform/DialogTemplate.h"

#include <QRect>
#include <QString>
#include <QWidget>

namespace platform {

/// Converts dialog units to device-independent pixels with the classic base units of the
/// 8-point dialog font (6 x 13 pixels at 96 dpi): x * 6 / 4 and y * 13 / 8. Qt scales
/// device-independent pixels to the screen's dpi itself.
QRect dialogUnitsToPixels(int x, int y, int width, int height);

/// The object name a control gets: its numeric id, so tests and the code find it by id.
QString controlName(int id);

/// Creates the template's controls as children of `dialog`, at their template positions, and
/// gives the dialog its caption, fixed client size and font. Controls without an id get no
/// object name. Returns nothing: a template is program data, so a bad one is a programming error.
void buildDialog(QWidget& dialog, const DialogTemplate& dialogTemplate);

/// The child of `dialog` whose object name is `id`, or null.
template <typename T> T* findControl(const QWidget& dialog, int id)
{
    return dialog.findChild<T*>(controlName(id));
}

} // namespace platform
