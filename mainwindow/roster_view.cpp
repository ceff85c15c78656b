// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/roster_view.h"

#include "image_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/notices.h"
#include "toolkit/toolkit.h"

namespace {

constexpr uint32_t Grey = 0x999999;

}  // namespace

int RowImage(RowState state) {
    switch (state) {
        case RowState::Online:
            return ImageDotOnline;
        case RowState::Crossed:
            return ImageDotCrossed;
        case RowState::Offline:
            break;
    }
    return ImageDotOffline;
}

void UpdateRoster() {
    std::optional<RosterUpdate> update = RefreshRoster();
    if (!update) return;
    NoticeMemberChanges(update->previousOutput, update->rows);
    ShowRoster(std::move(update->rows));
}

void ShowRoster(std::vector<RosterRow> rows) {
    TreeClear(GadgetRoster);
    int index = 0;
    for (RosterRow& row : rows) {
        TreeAppend(GadgetRoster, row.level, RowImage(row.state), std::move(row.text));
        if (row.state != RowState::Online) TreeSetRowColor(GadgetRoster, index, Grey);
        ++index;
    }
    TreeExpandAll(GadgetRoster);
}

void ShowOutcome(const Outcome& outcome) {
    if (outcome.message) MessageOk(outcome.message->title, outcome.message->text);
    if (outcome.done) UpdateRoster();
}

void ClearRoster() {
    TreeClear(GadgetRoster);
    ForgetRoster();
}

std::string SelectedRowText() {
    return TreeSelectedText(GadgetRoster);
}

std::string SelectedMemberNetwork() {
    for (int row = TreeSelectedRow(GadgetRoster) - 1; row >= 0; --row) {
        const std::string text = TreeRowText(GadgetRoster, row);
        if (IsNetworkRow(text)) return NetworkName(text);
    }
    return "";
}
