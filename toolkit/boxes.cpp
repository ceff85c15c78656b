// SPDX-License-Identifier: GPL-2.0-or-later
#include <deque>

#include "toolkit/internal.h"

namespace {

bool Scripting = false;
std::function<ScriptedAnswer(const BoxRecord&)> Answerer;
std::deque<ScriptedAnswer> Answers;
std::vector<BoxRecord> Log;

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

}  // namespace

bool ScriptedBoxAnswer(BoxKind kind, const std::string& title, const std::string& text,
                       ScriptedAnswer* answer) {
    if (!Scripting) return false;
    BoxRecord record{kind, title, text, false};
    *answer = ScriptedAnswer{};
    if (Answerer) {
        *answer = Answerer(record);
        record.answered = true;
    } else if (!Answers.empty()) {
        *answer = Answers.front();
        Answers.pop_front();
        record.answered = true;
    }
    Log.push_back(record);
    return true;
}

void ScriptBoxes(std::vector<ScriptedAnswer> answers) {
    Scripting = true;
    Answerer = nullptr;
    Answers.assign(answers.begin(), answers.end());
    Log.clear();
}

void ScriptBoxesWith(std::function<ScriptedAnswer(const BoxRecord&)> answerer) {
    Scripting = true;
    Answerer = std::move(answerer);
    Answers.clear();
    Log.clear();
}

void StopScriptingBoxes() {
    Scripting = false;
    Answerer = nullptr;
    Answers.clear();
}

const std::vector<BoxRecord>& ScriptedBoxLog() {
    return Log;
}

void MessageOk(const std::string& title, const std::string& text) {
    ScriptedAnswer scripted;
    if (ScriptedBoxAnswer(BoxKind::Ok, title, text, &scripted)) return;
    if (!ToolkitReady()) return;
    RunMessageBox(GTK_MESSAGE_INFO, GTK_BUTTONS_OK, title, text);
}

BoxAnswer AskQuestion(const std::string& title, const std::string& text) {
    ScriptedAnswer scripted;
    if (ScriptedBoxAnswer(BoxKind::YesNo, title, text, &scripted)) return scripted.answer;
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
                           const std::vector<FileFilter>& filters) {
    ScriptedAnswer scripted;
    if (ScriptedBoxAnswer(BoxKind::SaveFile, title, proposedPath, &scripted)) return scripted.path;
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
    gtk_file_chooser_set_current_name(chooser, GText(g_filename_display_name(name.get())).get());
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
