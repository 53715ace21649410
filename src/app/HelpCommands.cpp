// Help, about, the two launchers, the web address and the companion products window.
#include "FormTallix.h"

#include "shared/TrimSpaces.h"
#include "shared/UnscrambleText.h"

#include "platform/CompanionWindows.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "platform/Window.h"

namespace app {

namespace {

const QString crlf = QStringLiteral("\r\n");

// This platform has neither Notepad nor Paint: the desktop's choice for text and for pictures,
// else the first of the usual programs that is there.
const QStringList textEditors{"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                              "xed", "pluma", "featherpad", "leafpad", "xedit"};
const QStringList paintPrograms{"kolourpaint", "pinta", "mtpaint", "drawing", "gimp", "krita"};

} // namespace

const QString FormTallix::MakerName = QStringLiteral("The Numerette project");
const QString FormTallix::MakerNotice =
    QStringLiteral("Made by the Numerette project, free software under the MIT licence.");

void FormTallix::connectHelp()
{
    c_.mnuHelpTopic->onClick = [this] { mnuHelpTopic_Click(); };
    c_.mnuAbout->onClick = [this] { mnuAbout_Click(); };
    c_.mnuNotepad->onClick = [this] { mnuNotepad_Click(); };
    c_.mnuPaint->onClick = [this] { mnuPaint_Click(); };
    c_.mnuWebsite->onClick = [this] { mnuWebsite_Click(); };
    c_.mnuBK1->onClick = [this] { mnuBK1_Click(); };
    c_.mnuBK2->onClick = [this] { mnuBK2_Click(); };
    c_.mnuBK3->onClick = [this] { mnuBK3_Click(); };
}

void FormTallix::mnuHelpTopic_Click()
{
    const QString caption = c_.window->caption();
    const QStringList lines{
        shared::trimSpaces(caption), QStringLiteral(" "), QStringLiteral(" "),
        QStringLiteral("1. Type a math expression in the textbox, Then press the ENTER key to calculate the result."),
        QStringLiteral(" "), QStringLiteral("2. Calculate history can be saved and be reloaded again."),
        QStringLiteral(" "), QStringLiteral("3. Click the calculate history result, insert to the textbox.")};
    QString text;
    for (const QString &line : lines)
        text += line + crlf;
    c_.messages->show(text, platform::msgbox::Information, caption);
}

void FormTallix::mnuAbout_Click()
{
    c_.messages->show(c_.window->caption() + crlf + crlf + MakerNotice, platform::msgbox::Information, MakerName);
}

// Starts the desktop's own application for the kind of file, else the first candidate found,
// detached; says what was tried when none would start.
void FormTallix::launch(const QString &what, const QString &mimeType, const QStringList &candidates)
{
    const QString preferred = c_.shell->defaultApplication(mimeType);
    if (!preferred.isEmpty() && c_.shell->startApplication(preferred))
        return;
    for (const QString &name : candidates) {
        const QString path = c_.shell->findProgram(name);
        if (!path.isEmpty() && c_.shell->startDetached(path))
            return;
    }
    c_.messages->show(QStringLiteral("No %1 could be started. Tried: %2.").arg(what, candidates.join(QStringLiteral(", "))),
                      platform::msgbox::Exclamation);
}

void FormTallix::mnuNotepad_Click() { launch(QStringLiteral("text editor"), QStringLiteral("text/plain"), textEditors); }

void FormTallix::mnuPaint_Click() { launch(QStringLiteral("paint program"), QStringLiteral("image/png"), paintPrograms); }

void FormTallix::mnuWebsite_Click()
{
    const shared::Unscrambled address = shared::webAddress();
    if (!address.text) { // shown, where the original stopped with an unhandled error
        c_.messages->show(QStringLiteral("The web address cannot be read: ") + address.error, platform::msgbox::Critical);
        return;
    }
    c_.shell->openUrl(*address.text);
}

void FormTallix::mnuBK1_Click() { c_.companions->showModal(); }
void FormTallix::mnuBK2_Click() { c_.companions->showModal(); }
void FormTallix::mnuBK3_Click() { c_.companions->showModal(); }

} // namespace app
