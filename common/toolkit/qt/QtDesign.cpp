#include "QtDesign.h"

#include <QLabel>
#include <QStringList>

namespace marlo {

namespace {

QFont fontOf(const QStringList& families, qreal pointSize, int weight)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QLabel* addDesignLabel(QWidget* parent, const char* name, const char* text, const TwipBox& box,
                       Qt::Alignment alignment)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(rectFromTwips(box));
    return label;
}

QFont arialFont(qreal pointSize, int weight)
{
    // Liberation Sans and Arimo share Arial's metrics, so texts wrap alike.
    return fontOf({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans")},
                  pointSize, weight);
}

QFont arialBlackFont(qreal pointSize)
{
    // DejaVu Sans Bold is the heaviest and widest of the usual sans faces,
    // the nearest to Arial Black's colour and width.
    return fontOf({QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Liberation Sans")},
                  pointSize, QFont::Black);
}

} // namespace marlo
