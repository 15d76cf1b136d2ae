#include "platform/DialogBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QStyleFactory>

#include <algorithm>

namespace platform {

namespace {

constexpr int BaseUnitX = 6;
constexpr int BaseUnitY = 13;

int toPixelsX(int units)
{
    return units * BaseUnitX / 4;
}

int toPixelsY(int units)
{
    return units * BaseUnitY / 8;
}

// The dialog font: the 8-point MS Sans Serif the templates are laid out for where it exists,
// else the narrowest stand-in, made small enough that its average letter fits the horizontal base
// unit, so the labels fit the boxes the template gives them.
QFont dialogFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    // Settle on the one family found: style sheets do not pass a list of families on.
    font.setFamily(QFontInfo(font).family());
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    constexpr double SmallestPointSize = 6.0;
    for (double size = pointSize; size >= SmallestPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetricsF(font).horizontalAdvance(letters) <=
            BaseUnitX * static_cast<double>(letters.size()))
            break;
    }
    return font;
}

// The application's style, with check-box labels close to the box, so they fit the width the
// template gives them.
class DialogStyle final : public QProxyStyle
{
public:
    DialogStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        constexpr int CheckBoxLabelSpacing = 3;
        if (metric == PM_CheckBoxLabelSpacing)
            return CheckBoxLabelSpacing;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QWidget* createControl(const ControlTemplate& control, QWidget& parent, QStyle& style)
{
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(text, &parent);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        button->setFlat((control.flags & style::Flat) != 0);
        return button;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, &parent);
        box->setStyle(&style);
        return box;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(&parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSortingEnabled(false);
        return list;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(&parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, &parent);
        slider->setTickPosition(QSlider::NoTicks);
        return slider;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, &parent);
        edit->setReadOnly((control.flags & style::ReadOnly) != 0);
        return edit;
    }
    case ControlKind::GroupBox: {
        // Group boxes only frame their neighbours: keep them beneath the controls and out of
        // the way of the mouse.
        auto* group = new QGroupBox(text, &parent);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        group->lower();
        return group;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(text, &parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(&parent);
        const QRect area = dialogUnitsToPixels(control.x, control.y, control.width, control.height);
        label->setPixmap(QIcon(text).pixmap(area.size()));
        return label;
    }
    }
    Q_ASSERT(false);
    return nullptr;
}

} // namespace

QRect dialogUnitsToPixels(int x, int y, int width, int height)
{
    const int left = toPixelsX(x);
    const int top = toPixelsY(y);
    // Convert both edges, so neighbouring controls keep their shared edges.
    return QRect(left, top, toPixelsX(x + width) - left, toPixelsY(y + height) - top);
}

QString controlName(int id)
{
    return QString::number(id);
}

void buildDialog(QWidget& dialog, const DialogTemplate& dialogTemplate)
{
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    dialog.setFont(dialogFont(dialogTemplate.fontPointSize));
    dialog.setFixedSize(
        dialogUnitsToPixels(0, 0, dialogTemplate.width, dialogTemplate.height).size());

    auto* style = new DialogStyle;
    style->setParent(&dialog);
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = createControl(control, dialog, *style);
        if (control.id != NoId)
            widget->setObjectName(controlName(control.id));
        widget->setEnabled((control.flags & style::Disabled) == 0);

        QRect area = dialogUnitsToPixels(control.x, control.y, control.width, control.height);
        // A combo box's template height includes its dropped-down list.
        if (control.kind == ControlKind::ComboBox)
            area.setHeight(widget->sizeHint().height());
        // A label whose words need one line more than the stand-in font allows shows it
        // rather than cutting the last words off.
        if (control.kind == ControlKind::Static)
            area.setHeight(std::max(area.height(), widget->heightForWidth(area.width())));
        widget->setGeometry(area);
    }
}

} // namespace platform
