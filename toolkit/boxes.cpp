// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {

// Message boxes stand alone, centred on the screen, and wait for the answer.
int RunMessageBox(GtkMessageType type, GtkButtonsType buttons, const std::string& title,
                  const std::string& text) {
    TopWidget box(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, buttons, "%s",
                                         ShownUtf8(text).c_str()));
    GtkDialog* dialog = GTK_DIALOG(box.get());
    gtk_window_set_title(GTK_WINDOW(dialog), ShownUtf8(title).c_str());
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    if (buttons == GTK_BUTTONS_YES_NO) {
        gtk_dialog_set_default_response(dialog, GTK_RESPONSE_YES);
        GtkWidget* yes = gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_YES);
        if (yes != nullptr) gtk_widget_grab_focus(yes);
    }
    return gtk_dialog_run(dialog);
}

class ScreenBoxes final : public MessageBoxes {
  public:
    void Ok(const std::string& title, const std::string& text) override {
        if (ToolkitReady()) RunMessageBox(GTK_MESSAGE_INFO, GTK_BUTTONS_OK, title, text);
    }

    BoxAnswer Ask(const std::string& title, const std::string& text) override {
        if (!ToolkitReady()) return BoxAnswer::Closed;
        switch (RunMessageBox(GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, title, text)) {
            case GTK_RESPONSE_YES:
                return BoxAnswer::Yes;
            case GTK_RESPONSE_NO:
                return BoxAnswer::No;
        }
        return BoxAnswer::Closed;
    }

    std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                               const std::vector<FileFilter>& filters) override {
        if (!ToolkitReady()) return "";
        TopWidget dialog(gtk_file_chooser_dialog_new(
            ShownUtf8(title).c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, GTK_STOCK_CANCEL,
            GTK_RESPONSE_CANCEL, GTK_STOCK_SAVE, GTK_RESPONSE_ACCEPT, nullptr));
        gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
        const GText folder(g_path_get_dirname(proposedPath.c_str()));
        const GText name(g_path_get_basename(proposedPath.c_str()));
        gtk_file_chooser_set_current_folder(chooser, folder.get());
        gtk_file_chooser_set_current_name(chooser,
                                          GText(g_filename_display_name(name.get())).get());
        for (const FileFilter& filter : filters) {
            GtkFileFilter* entry = gtk_file_filter_new();
            gtk_file_filter_set_name(entry, ShownUtf8(filter.name).c_str());
            gtk_file_filter_add_pattern(entry, filter.pattern.c_str());
            gtk_file_chooser_add_filter(chooser, entry);  // the chooser takes it
            if (gtk_file_chooser_get_filter(chooser) == nullptr) {
                gtk_file_chooser_set_filter(chooser, entry);
            }
        }
        if (gtk_dialog_run(GTK_DIALOG(dialog.get())) != GTK_RESPONSE_ACCEPT) return "";
        const GText path(gtk_file_chooser_get_filename(chooser));
        return path ? path.get() : "";
    }
};

MessageBoxes& Presenter() {
    static ScreenBoxes screen;
    return Boxes != nullptr ? *Boxes : screen;
}

}  // namespace

MessageBoxes* Boxes = nullptr;

void MessageOk(const std::string& title, const std::string& text) {
    Presenter().Ok(title, text);
}

BoxAnswer AskQuestion(const std::string& title, const std::string& text) {
    return Presenter().Ask(title, text);
}

std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                           const std::vector<FileFilter>& filters) {
    return Presenter().ChooseSaveFile(title, proposedPath, filters);
}
