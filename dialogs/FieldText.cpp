#include "dialogs/FieldText.h"

namespace dialogs {

std::string fieldText(const QString& text, qsizetype maxChars)
{
    qsizetype end = 0;
    while (end < text.size() && end < maxChars && text[end] != QLatin1Char('\n') &&
           text[end] != QLatin1Char('\r'))
        ++end;
    return text.left(end).toLatin1().toStdString();
}

QString displayText(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace dialogs
