#include "ImportWindow.h"

#include "ButtonClick.h"
#include "ImportWindowDesign.h"
#include "QtAppIcon.h"
#include "QtDesign.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace marlo {

namespace {

namespace design = importwindow;

// MS Sans Serif, or the nearest installed sans face.
QFont msSansSerifFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

ImportWindow::ImportWindow(Platform platform, const CopierFactory& makeCopier,
                           CommonDialog* commonDialog1)
    : qtCommonDialog1_(this, QString::fromUtf8(design::ChooserName)),
      commands_(platform, commonDialog1 ? *commonDialog1 : qtCommonDialog1_,
                makeCopier ? makeCopier(this) : std::make_unique<DirectCopy>()),
      closeWhenIdle_(*this)
{
    setObjectName(QStringLiteral("import"));
    setWindowTitle(QString::fromUtf8(design::Caption));
    setWindowIcon(appIcon());
    setFont(arialFont(design::FontPoints));
    // An ordinary resizable window; without layouts every control keeps its
    // place and size, and a smaller window cuts controls off.
    resize(pixelsFromTwips(design::ClientWidth), pixelsFromTwips(design::ClientHeight));
    buildControls();
    const QRect screenArea = screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screenArea));
}

void ImportWindow::buildControls()
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QString::fromUtf8(design::FrameName));
    // A plain rectangle, without a 3D edge.
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(rectFromTwips(design::FrameBox));
    frame->setFont(msSansSerifFont(8.25));
    frame->setFocusPolicy(Qt::NoFocus);

    for (const design::LabelDesign& label : design::Labels) {
        QLabel* text = addDesignLabel(frame, label.name, label.text, label.box, Qt::AlignLeft);
        // The paragraphs read in the window's face, which their boxes fit.
        text->setFont(font());
    }

    QPushButton* previous = nullptr;
    for (const design::ButtonDesign& item : design::Buttons) {
        auto* button = new QPushButton(QString::fromUtf8(item.caption), this);
        button->setObjectName(QString::fromUtf8(item.name));
        button->setGeometry(rectFromTwips(item.box));
        // Enter presses the focused button, as on the platform the window
        // comes from; no button stands in for the whole window.
        button->setAutoDefault(true);
        if (item.click != design::Action::None)
            connect(button, &QPushButton::clicked, this, [this, click = item.click] {
                closeWhenIdle_.runHandler([this, click] { runClick(commands_, click); });
            });
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }
}

void ImportWindow::closeEvent(QCloseEvent* event)
{
    // A command under way runs to its end, its notice shown, and the window
    // closes after it.
    if (closeWhenIdle_.closeNow(*event))
        QWidget::closeEvent(event);
}

} // namespace marlo
