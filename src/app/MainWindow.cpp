#include "MainWindow.h"

#include "companion/CompanionDialog.h"
#include "companion/CompanionProducts.h"
#include "WindowLayout.h"

#include "entry/KeypadKeys.h"
#include "platform/qt/AccessibleRole.h"
#include "platform/qt/ButtonPictures.h"
#include "platform/qt/QtButton.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtLongWork.h"
#include "platform/qt/QtMenuEntry.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/OriginalFonts.h"
#include "platform/qt/QtScriptDialogs.h"
#include "platform/qt/QtTextBox.h"
#include "platform/qt/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QFontDatabase>
#include <QFrame>
#include <QTableView>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace app {

using platform::qt::pixelRect;
using platform::qt::pixels;
using platform::qt::twips;

namespace {

QFont sansFont(double pointSize) { return platform::qt::originalFont(QStringLiteral("MS Sans Serif"), pointSize); }

// The colours the window was designed on: its text colours are fixed, so their backgrounds are
// too, whatever the desktop's theme.
const QColor WindowBackground(255, 255, 255);
const QColor InfoBackground(255, 255, 225);
const QColor Grey(128, 128, 128);

// What a screen reader says for a keypad key whose caption is a sign.
QString spokenKey(const QString &caption)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("."), QStringLiteral("decimal point")},   {QStringLiteral("+"), QStringLiteral("plus")},
        {QStringLiteral("-"), QStringLiteral("minus")},           {QStringLiteral("*"), QStringLiteral("times")},
        {QStringLiteral("/"), QStringLiteral("divided by")},      {QStringLiteral("^"), QStringLiteral("power")},
        {QStringLiteral("("), QStringLiteral("open parenthesis")}, {QStringLiteral(")"), QStringLiteral("close parenthesis")}};
    return names.value(caption, caption);
}

// The palette's rows as spoken: operators by name, functions by name and what they do.
const QHash<QString, QString> spokenPaletteRows{
    {QStringLiteral("+"), QStringLiteral("plus")},
    {QStringLiteral("-"), QStringLiteral("minus")},
    {QStringLiteral("*"), QStringLiteral("times")},
    {QStringLiteral("/"), QStringLiteral("divided by")},
    {QStringLiteral("\\"), QStringLiteral("integer division")},
    {QStringLiteral("^"), QStringLiteral("power")},
    {QStringLiteral("Mod"), QStringLiteral("modulo")},
    {QStringLiteral("Sqr"), QStringLiteral("Sqr, square root")},
    {QStringLiteral("Exp"), QStringLiteral("Exp, exponential")},
    {QStringLiteral("Abs"), QStringLiteral("Abs, absolute value")},
    {QStringLiteral("Log"), QStringLiteral("Log, natural logarithm")},
    {QStringLiteral("Rnd"), QStringLiteral("Rnd, random number")},
    {QStringLiteral("Cos"), QStringLiteral("Cos, cosine")},
    {QStringLiteral("Sin"), QStringLiteral("Sin, sine")},
    {QStringLiteral("Sgn"), QStringLiteral("Sgn, sign")},
    {QStringLiteral("Tan"), QStringLiteral("Tan, tangent")},
    {QStringLiteral("Atn"), QStringLiteral("Atn, arctangent")},
    {QStringLiteral("Int"), QStringLiteral("Int, integer part")}};

void describe(QWidget *widget, const QString &name, const QString &description)
{
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

void setColors(QWidget *widget, QColor text, QColor base)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, base);
    widget->setPalette(palette);
}

// The focus ring of a picture box: its children cover it, so it is drawn above them, while the
// box has the focus.
class FocusRing : public QWidget
{
public:
    explicit FocusRing(QWidget *box) : QWidget(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(box->rect());
        box->installEventFilter(this);
        hide();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            raise();
            show();
        } else if (event->type() == QEvent::FocusOut) {
            hide();
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent *) override
    {
        // Dotted black, as the platform the window comes from draws it; the box's background is
        // white under every theme.
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

MainWindow::MainWindow()
{
    setObjectName(QStringLiteral("FormTallix"));
    setWindowTitle(QStringLiteral(" Numerette 9.19"));
    setWindowIcon(platform::qt::applicationIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setFixedSize(ClientWidth, ClientHeight);
    client_->installEventFilter(this);
    client_->setFont(sansFont(8.25)); // the default font of the buttons
    setCentralWidget(client_);

    messages_ = std::make_unique<platform::qt::QtMessageBoxes>(this);
    controls_.window = this;
    controls_.messages = messages_.get();
    scriptDialogs_ = std::make_unique<platform::qt::QtScriptDialogs>(this);
    controls_.scriptDialogs = scriptDialogs_.get();
    longWork_ = std::make_unique<platform::qt::QtLongWork>(this);
    controls_.longWork = longWork_.get();
    clipboard_ = std::make_unique<platform::qt::QtClipboard>();
    controls_.clipboard = clipboard_.get();
    fileDialogs_ = std::make_unique<platform::qt::QtFileDialogs>(this);
    controls_.fileDialogs = fileDialogs_.get();
    fileSystem_ = std::make_unique<platform::qt::QtFileSystem>();
    controls_.fileSystem = fileSystem_.get();
    shell_ = std::make_unique<platform::qt::QtShell>();
    controls_.shell = shell_.get();
    companions_ = std::make_unique<companion::QtCompanionWindows>(this, *shell_, *messages_);
    controls_.companions = companions_.get();
    // Back from another window of ours, the main window is active again.
    messages_->afterClose = [this] { activateAgain(); };
    companions_->afterClose = [this] { activateAgain(); };
    buildControls();
    buildMenus();
    setTabOrder();
    // Keys of the whole window that no menu entry shows.
    auto windowKey = [this](const QKeySequence &keys, std::function<void()> platform::Window::*handler) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, handler] {
            if (this->*handler)
                (this->*handler)();
        });
    };
    windowKey(QKeySequence(Qt::CTRL | Qt::Key_L), &platform::Window::onGoToExpressionKey);
    windowKey(QKeySequence(Qt::Key_F6), &platform::Window::onGoToExpressionKey);
    windowKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &platform::Window::onCopyResultKey);
    // The menu bar's height is known before the window is shown only by asking for its width.
    setFixedSize(ClientWidth, ClientHeight + menuBar()->heightForWidth(ClientWidth));
}

MainWindow::~MainWindow() = default;

platform::qt::QtButton *MainWindow::button(const QString &name, const QString &caption, const QString &tooltip,
                                           QRect geometry)
{
    auto *widget = new QPushButton(caption, client_);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    widget->setAutoDefault(false);
    if (!tooltip.isEmpty())
        widget->setToolTip(tooltip);
    // Screen readers and GUI automation find every button; a picture button by its tooltip.
    widget->setAccessibleName(caption.isEmpty() ? tooltip : caption);
    widget->setAccessibleDescription(tooltip.isEmpty() ? caption : tooltip);
    auto *adapter = new platform::qt::QtButton(widget);
    adapters_.emplace_back(adapter);
    return adapter;
}

QRect MainWindow::placeOf(const char *name)
{
    const ControlLayout &c = layoutOf(name);
    return pixelRect(c.left, c.top, c.width, c.height);
}

platform::qt::QtListBox *MainWindow::list(const char *name)
{
    auto *view = new QTableView(client_);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(placeOf(name));
    view->setFont(sansFont(layoutOf(name).pointSize));
    view->setTextElideMode(Qt::ElideNone); // rows are cut at the edge, as typed
    auto *adapter = new platform::qt::QtListBox(view);
    adapters_.emplace_back(adapter);
    return adapter;
}

platform::qt::QtButton *MainWindow::pictureButton(const char *name, const QString &tooltip, const QIcon &picture)
{
    platform::qt::QtButton *b = button(QString::fromLatin1(name), {}, tooltip, placeOf(name));
    b->widget()->setIcon(picture);
    b->widget()->setIconSize(QSize(16, 16));
    return b;
}

void MainWindow::buildControls()
{
    // Created in this order so that List2 lies above List1 and hides its scroll bar.
    platform::qt::QtListBox *list2 = buildHistoryLists();
    buildEntryBoxes();
    buildCommandButtons();
    buildPalette();
    controls_.CommandCC = pictureButton("CommandCC", QStringLiteral("Sent the Result to Calculate Textbox"),
                                        platform::qt::sendResultPicture());
    buildKeypad();
    list2->widget()->raise();
}

platform::qt::QtListBox *MainWindow::buildHistoryLists()
{
    using platform::qt::QtListBox;
    QtListBox *list1 = list("List1");
    QtListBox *list2 = list("List2");
    describe(list1->widget(), QStringLiteral("Calculate history"),
             QStringLiteral("The expressions calculated; double click one to put it back"));
    describe(list2->widget(), QStringLiteral("Results"),
             QStringLiteral("The results of the history; click one to insert its number"));
    for (QtListBox *l : {list1, list2}) {
        setColors(l->widget(), Grey, InfoBackground);
        l->setForeColor(platform::colors::Grey);
    }
    controls_.List1 = list1;
    controls_.List2 = list2;
    return list2;
}

void MainWindow::buildEntryBoxes()
{
    using platform::qt::QtTextBox;
    auto *text1 = new QPlainTextEdit(client_);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setGeometry(placeOf("Text1"));
    text1->setFont(sansFont(layoutOf("Text1").pointSize));
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    describe(text1, QStringLiteral("Expression"), QStringLiteral("Type a math expression, then press Enter"));
    setColors(text1, Grey, WindowBackground);
    auto *text1Box = new QtTextBox(text1, false);
    adapters_.emplace_back(text1Box);
    controls_.Text1 = text1Box;

    auto *picture1 = new QFrame(client_);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(placeOf("Picture1"));
    picture1->setFrameShape(QFrame::NoFrame);
    picture1->setAttribute(Qt::WA_NoMousePropagation);
    picture1->setFocusPolicy(Qt::StrongFocus); // a tab stop of its own, as a picture box is
    picture1->setAutoFillBackground(true);
    QPalette framePalette = picture1->palette();
    framePalette.setColor(QPalette::Window, WindowBackground);
    picture1->setPalette(framePalette);
    auto *text2 = new QPlainTextEdit(picture1);
    text2->setObjectName(QStringLiteral("Text2"));
    text2->setGeometry(placeOf("Text2"));
    text2->setFont(sansFont(layoutOf("Text2").pointSize));
    describe(text2, QStringLiteral("Result"), QStringLiteral("The result of the last calculation"));
    setColors(text2, Grey, WindowBackground);
    // Its text stands where a one-line box puts it, not lower: the box is taller than its frame.
    text2->document()->setDocumentMargin(1);
    // Heard as "Result area panel": as a frame it was taken for a window ("Result frame frame").
    platform::qt::setAccessibleRole(picture1, QAccessible::Grouping);
    describe(picture1, QStringLiteral("Result area"), QStringLiteral("Around the result box"));
    new FocusRing(picture1);
    auto *text2Box = new QtTextBox(text2, true);
    adapters_.emplace_back(text2Box);
    text2Box->setForeColor(platform::colors::Grey);
    controls_.Text2 = text2Box;
}

void MainWindow::buildCommandButtons()
{
    platform::qt::QtButton *command4 = button(QStringLiteral("Command4"), QStringLiteral("Clear"),
                                              QStringLiteral("Clear Calculate Textbox"), placeOf("Command4"));
    // Two buttons say "Clear": their tooltips tell them apart, for the ear too.
    command4->widget()->setAccessibleName(QStringLiteral("Clear Calculate Textbox"));
    controls_.Command4 = command4;
    controls_.Command5 = button(QStringLiteral("Command5"), QStringLiteral("Function"), {}, placeOf("Command5"));
    controls_.Command2 = button(QStringLiteral("Command2"), QStringLiteral("Decimal"),
                                QStringLiteral("Decimal Places"), placeOf("Command2"));
    controls_.Command3 = button(QStringLiteral("Command3"), QStringLiteral("= Calculate"), {}, placeOf("Command3"));
    controls_.CommandCopy1 =
        pictureButton("CommandCopy1", QStringLiteral("Copy the Result"), platform::qt::copyResultPicture());
    controls_.CommandCopy2 = pictureButton("CommandCopy2", QStringLiteral("Copy the Math Expression and Resultt"),
                                           platform::qt::copyExpressionAndResultPicture());
}

void MainWindow::buildPalette()
{
    platform::qt::QtListBox *list3 = list("List3");
    setColors(list3->widget(), QColor(0, 0, 128), QColor(224, 224, 224));
    list3->setForeColor(platform::colors::Navy);
    list3->setVisible(false);
    describe(list3->widget(), QStringLiteral("Functions"), QStringLiteral("Pick an operator or function to insert"));
    list3->setSpokenRows(spokenPaletteRows);
    controls_.List3 = list3;
}

void MainWindow::buildKeypad()
{
    const ControlLayout &keys = layoutOf("CommandNum");
    for (int i = 0; i < int(KeypadKeys.size()); ++i) {
        const QString caption = QString::fromLatin1(KeypadKeys[std::size_t(i)].caption);
        platform::qt::QtButton *key = button(QStringLiteral("CommandNum"), caption, {},
                                             pixelRect(keys.left + KeyStep * i, keys.top, keys.width, keys.height));
        key->widget()->setProperty("index", i);
        key->widget()->setFont(platform::qt::originalFont(QStringLiteral("Tahoma"), i == MinusKey ? 10.5 : keys.pointSize));
        key->widget()->setAccessibleName(spokenKey(caption));
        controls_.CommandNum[static_cast<std::size_t>(i)] = key;
    }
    platform::qt::QtButton *command1 = button(QStringLiteral("Command1"), QStringLiteral("Clear"),
                                              QStringLiteral("Clear Calculate History"), placeOf("Command1"));
    command1->widget()->setAccessibleName(QStringLiteral("Clear Calculate History"));
    controls_.Command1 = command1;
    controls_.Command6 = pictureButton("Command6", QStringLiteral("Back space"), platform::qt::backspacePicture());
}

platform::qt::QtMenuEntry *MainWindow::entry(QMenu *menu, const QString &name, const QString &caption,
                                             const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    auto *adapter = new platform::qt::QtMenuEntry(action);
    adapters_.emplace_back(adapter);
    return adapter;
}

void MainWindow::separator(QMenu *menu, const QString &name) { menu->addSeparator()->setObjectName(name); }

void MainWindow::buildMenus()
{
    auto title = [this](const QString &name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    QMenu *file = title(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    controls_.mnuSave = entry(file, QStringLiteral("mnuSave"), QStringLiteral("Save calculate history as..."));
    controls_.mnuLoad = entry(file, QStringLiteral("mnuLoad"), QStringLiteral("Load calculate history"));
    separator(file, QStringLiteral("mnu026"));
    controls_.mnuWebsite = entry(file, QStringLiteral("mnuWebsite"), QStringLiteral("&Goto Our Website"));
    separator(file, QStringLiteral("mnu002"));
    controls_.mnuExit = entry(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *edit = title(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    controls_.mnuCalculate = entry(edit, QStringLiteral("mnuCalculate"), QStringLiteral("Calculat&e"),
                                   QKeySequence(Qt::CTRL | Qt::Key_E));
    separator(edit, QStringLiteral("mnu020"));
    controls_.mnuCut = entry(edit, QStringLiteral("mnuCut"), QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    controls_.mnuCopy = entry(edit, QStringLiteral("mnuCopy"), QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    controls_.mnuPaste = entry(edit, QStringLiteral("mnuPaste"), QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    separator(edit, QStringLiteral("mnu023"));
    controls_.mnuSelAll = entry(edit, QStringLiteral("mnuSelAll"), QStringLiteral("Select &All"),
                                QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenu *clear = title(QStringLiteral("mnuClear"), QStringLiteral("&Clear"));
    controls_.mnuClsHistory = entry(clear, QStringLiteral("mnuClsHistory"), QStringLiteral("Clear Calculate &History"));
    separator(clear, QStringLiteral("mnu008"));
    controls_.mnuClsPad = entry(clear, QStringLiteral("mnuClsPad"), QStringLiteral("Clear Calculate &Textbox"));
    separator(clear, QStringLiteral("mnu029"));
    controls_.mnuClearAll = entry(clear, QStringLiteral("mnuClearAll"), QStringLiteral("Clear All"));

    QMenu *decimals = title(QStringLiteral("mnuDec"), QStringLiteral("&Decimal Places"));
    for (int i = 0; i <= 9; ++i)
        controls_.mnuDec[static_cast<std::size_t>(i)] = entry(decimals, QStringLiteral("mnuDec%1").arg(i),
                                                              QStringLiteral("Decimal Places: %1").arg(i));
    controls_.mnuDec[10] = entry(decimals, QStringLiteral("mnuDecAuto"), QStringLiteral("Decimal Places: Auto"));
    controls_.mnuDec[2]->setChecked(true);

    QMenu *utility = title(QStringLiteral("mnuUtility"), QStringLiteral("&Utility"));
    controls_.mnuNotepad = entry(utility, QStringLiteral("mnuNotepad"), QStringLiteral("MS Notepad"));
    separator(utility, QStringLiteral("mnu010"));
    controls_.mnuPaint = entry(utility, QStringLiteral("mnuPaint"), QStringLiteral("MS Paint"));
    separator(utility, QStringLiteral("mnu019"));
    controls_.mnuBK1 = entry(utility, QStringLiteral("mnuBK1"), companion::ProductDescriptions[0]);
    controls_.mnuBK2 = entry(utility, QStringLiteral("mnuBK2"), companion::ProductDescriptions[1]);
    controls_.mnuBK3 = entry(utility, QStringLiteral("mnuBK3"), companion::ProductDescriptions[2]);

    QMenu *help = title(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    controls_.mnuHelpTopic = entry(help, QStringLiteral("mnuHelpTopic"), QStringLiteral("&Contents"));
    separator(help, QStringLiteral("mnu012"));
    controls_.mnuAbout = entry(help, QStringLiteral("mnuAbout"), QStringLiteral("&About"));
}

void MainWindow::setTabOrder()
{
    QList<QWidget *> chain;
    for (const ControlLayout &control : WindowLayout) {
        if (control.kind == ControlLayout::Keypad)
            for (QPushButton *key : client_->findChildren<QPushButton *>(QStringLiteral("CommandNum")))
                chain << key; // in the order they were made: by index
        else
            chain << client_->findChild<QWidget *>(QString::fromLatin1(control.name));
    }
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void MainWindow::popupMenu(const QString &menuName, int x, int y)
{
    if (auto *menu = menuBar()->findChild<QMenu *>(menuName))
        menu->popup(client_->mapToGlobal(QPoint(pixels(x), pixels(y))));
}

void MainWindow::close() { QMainWindow::close(); }

void MainWindow::endProgram() { QCoreApplication::exit(0); }

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::MouseButtonPress && onClick)
        onClick();
    // Alt and a menu's access letter, passed on by a text box: open that menu.
    if (watched == client_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier) &&
            key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) {
            const QString mnemonic = QLatin1Char('&') + QChar(key->key()).toLower();
            for (QAction *title : menuBar()->actions()) {
                if (title->text().toLower().contains(mnemonic)) {
                    menuBar()->setActiveAction(title);
                    // As when the menu bar takes the key itself: the first entry is highlighted.
                    if (QMenu *menu = title->menu(); menu && !menu->actions().isEmpty())
                        menu->setActiveAction(menu->actions().constFirst());
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}


void MainWindow::activateAgain()
{
    if (onActivate)
        onActivate();
}

} // namespace app
