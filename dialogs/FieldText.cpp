#include "dialogs/FieldText.h"

#include "editing/NumberText.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace dialogs {

namespace {

const QColor InvalidBase(255, 190, 190);

template <typename T> std::optional<T> marked(QLineEdit& field, std::optional<T> value)
{
    // An empty palette hands the field back to the dialog's own colours.
    QPalette palette;
    if (!value)
        palette.setColor(QPalette::Base, InvalidBase);
    field.setPalette(palette);
    return value;
}

} // namespace

std::string fieldText(const QString& text, qsizetype maxChars)
{
    qsizetype end = 0;
    while (end < text.size() && end < maxChars && text[end] != QLatin1Char('\n') &&
           text[end] != QLatin1Char('\r'))
        ++end;
    return text.left(end).toLatin1().toStdString();
}

void acceptStorableText(QLineEdit& field)
{
    static const QRegularExpression Storable(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]*"));
    field.setValidator(new QRegularExpressionValidator(Storable, &field));
}

std::optional<std::int32_t> integerField(QLineEdit& field, const QString& text)
{
    return marked(field, editing::parseIntegerField(text.toStdString()));
}

std::optional<double> realField(QLineEdit& field, const QString& text)
{
    return marked(field, editing::parseRealField(text.toStdString()));
}

} // namespace dialogs
