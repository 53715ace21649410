#include "CompanionDialog.h"

#include "CompanionProducts.h"

#include "platform/qt/OriginalFonts.h"
#include "platform/qt/QtTextBox.h"
#include "platform/qt/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace companion {

using platform::qt::pixelRect;
using platform::qt::pixels;
using platform::qt::twips;

namespace {

QFont sansFont(double pointSize, bool bold, bool underline = false)
{
    QFont font = platform::qt::originalFont(QStringLiteral("MS Sans Serif"), pointSize, bold);
    font.setUnderline(underline);
    return font;
}

// The tooltip background the window was designed on: its navy and blue texts need it under
// any theme.
const QColor InfoBackground(255, 255, 225);

} // namespace

CompanionDialog::CompanionDialog(QWidget *parent, platform::Shell &shell, platform::MessageBoxes &messages)
    : QtWindowPlace(parent)
{
    setObjectName(QStringLiteral("FormUtility"));
    setWindowTitle(QStringLiteral("Numerette downloads"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);
    installEventFilter(this);
    QPalette background = palette();
    background.setColor(QPalette::Window, InfoBackground);
    background.setColor(QPalette::Base, InfoBackground);
    setPalette(background);
    setAutoFillBackground(true);

    controls_.window = this;
    controls_.shell = &shell;
    controls_.messages = &messages;

    // Labels and the button do not count as background: the mouse over them resets nothing.
    auto shield = [](QWidget *w) {
        w->setMouseTracking(true);
        w->setAttribute(Qt::WA_NoMousePropagation);
    };
    const int tops[3] = {480, 1080, 1680};
    const int labelWidths[3] = {4695, 5055, 4695};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QStringLiteral("%1.  %2").arg(i + 1).arg(ProductDescriptions[std::size_t(i)]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(pixelRect(240, tops[i], labelWidths[i], 255));
        label->setFont(sansFont(9.75, true));
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 128));
        label->setPalette(p);
        shield(label);
    }
    const QRect linkRects[4] = {pixelRect(5400, 480, 1215, 285), pixelRect(5400, 1080, 1215, 285),
                                pixelRect(5400, 1680, 1215, 285), pixelRect(600, 2160, 3615, 285)};
    for (int i = 0; i < 4; ++i) {
        auto *edit = new QPlainTextEdit(this);
        edit->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        edit->setGeometry(linkRects[i]);
        edit->setFrameShape(QFrame::NoFrame);
        edit->document()->setDocumentMargin(1);
        edit->viewport()->setCursor(Qt::PointingHandCursor);
        auto box = std::make_unique<platform::qt::QtTextBox>(edit, true);
        box->setText(i < 3 ? QStringLiteral("Download") : QString());
        // Heard apart: three of them say "Download".
        edit->setAccessibleName(i < 3 ? QStringLiteral("Download %1").arg(ProductDescriptions[std::size_t(i)])
                                      : QStringLiteral("Our web site"));
        edit->setAccessibleDescription(QStringLiteral("A link: press Enter to open it"));
        edit->setFont(sansFont(9.75, true, true));
        box->setForeColor({0, 0, 192});
        controls_.links[std::size_t(i)] = box.get();
        links_.push_back(std::move(box));
        shield(edit);
    }
    auto *close = new QPushButton(QStringLiteral("Close  Window"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setGeometry(pixelRect(2400, 2760, 2055, 495));
    close->setFont(sansFont(9.75, false));
    close->setAutoDefault(false);
    shield(close);
    connect(close, &QPushButton::clicked, this, [this] { QDialog::close(); });
}

CompanionDialog::~CompanionDialog() = default;

bool CompanionDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::MouseMove && onMouseMove)
        onMouseMove();
    return QDialog::eventFilter(watched, event);
}


void QtCompanionWindows::showModal()
{
    CompanionDialog dialog(owner_, shell_, messages_);
    FormUtility form(dialog.controls());
    dialog.exec();
    if (afterClose)
        afterClose();
}

} // namespace companion
