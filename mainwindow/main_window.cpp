#include "mainwindow/main_window.h"

#include "client/client_state.h"
#include "mainwindow/identifiers.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int MinimumWidth = 200;
constexpr int MinimumHeight = 250;

int HiddenX = 0;
int HiddenY = 0;

struct EmbeddedImage {
    int number;
    const char* path;
};

// 17 and 18 are separate images made from the data of 12 and 10.
constexpr EmbeddedImage Images[] = {
    {ImageBanner, "/corvane/images/banner.bmp"},
    {ImageLoggedIn, "/corvane/images/power_on.bmp"},
    {ImageNetworks, "/corvane/images/networks.bmp"},
    {ImageSettings, "/corvane/images/settings.bmp"},
    {ImageDotOnline, "/corvane/images/dot_green.bmp"},
    {ImageDotOffline, "/corvane/images/dot_red.bmp"},
    {ImageLoggedOut, "/corvane/images/power_off.bmp"},
    {ImageDotCrossed, "/corvane/images/dot_yellow.bmp"},
    {ImageSystemTabSelected, "/corvane/images/tab_system_on.bmp"},
    {ImageSystemTab, "/corvane/images/tab_system_off.bmp"},
    {ImageStatusTab, "/corvane/images/tab_status_off.bmp"},
    {ImageStatusTabSelected, "/corvane/images/tab_status_on.bmp"},
    {ImageEmblem, "/corvane/images/emblem.bmp"},
    {ImageTray, "/corvane/images/tray.png"},
    {ImageCreateNetwork, "/corvane/images/create_network.bmp"},
    {ImageJoinNetwork, "/corvane/images/join_network.bmp"},
    {ImageStatusTabFirst, "/corvane/images/tab_status_on.bmp"},
    {ImageSystemTabFirst, "/corvane/images/tab_system_off.bmp"},
    {ImageAbout, "/corvane/images/about.png"},
};

}  // namespace

void RegisterImages() {
    for (const EmbeddedImage& image : Images) RegisterResourceImage(image.number, image.path);
}

void CreatePopupMenus() {
    if (CreatePopupMenu(MenuNetwork)) {
        AddMenuItem(MenuNetwork, ItemGoOnline, "Go online");
        AddMenuItem(MenuNetwork, ItemGoOffline, "Go offline");
        AddMenuSeparator(MenuNetwork);
        AddMenuItem(MenuNetwork, ItemLeaveNetwork, "Leave network");
        AddMenuItem(MenuNetwork, ItemDeleteNetwork, "Delete network");
    }
    if (CreatePopupMenu(MenuMember)) {
        AddMenuItem(MenuMember, ItemPing, "Ping");
        AddMenuItem(MenuMember, ItemBrowse, "Browse");
        AddMenuItem(MenuMember, ItemCopyAddress, "Copy address");
        AddMenuSeparator(MenuMember);
        AddMenuItem(MenuMember, ItemEvictUser, "Evict user");
        AddMenuSeparator(MenuMember);
        BeginSubmenu(MenuMember, "VNC");
        AddMenuItem(MenuMember, ItemControlPc, "Control this PC");
        AddMenuItem(MenuMember, ItemGiveControl, "Give control to this PC");
        EndSubmenu(MenuMember);
    }
    if (CreatePopupMenu(MenuNetworks)) {
        AddMenuItem(MenuNetworks, ItemCreateNetwork, "Create new network..");
        AddMenuItem(MenuNetworks, ItemJoinNetwork, "Join existing network..");
    }
    if (CreatePopupMenu(MenuTray)) {
        AddMenuItem(MenuTray, ItemExit, "Exit");
        AddMenuSeparator(MenuTray);
        AddMenuItem(MenuTray, ItemAbout, "About");
    }
}

bool OpenMainWindow() {
    if (!OpenWindow(MainWindow, "Corvane", 250, 270, WindowResizable | WindowCentered)) {
        return false;
    }
    AddImageGadget(GadgetBanner, MainWindow, 0, 0, ImageBanner);
    AddLabel(GadgetIdentity, MainWindow, 5, 30, 240, 20, "", Align::Center);
    AddLabel(GadgetStatus, MainWindow, 5, 50, 240, 20, "", Align::Center);
    AddTree(GadgetRoster, MainWindow, 5, 75, 240, 145);
    AddImageButton(GadgetLogin, MainWindow, 5, 225, 43, 43, ImageLoggedIn);
    AddImageButton(GadgetNetworks, MainWindow, 157, 225, 43, 43, ImageNetworks);
    AddImageButton(GadgetSettings, MainWindow, 202, 225, 43, 43, ImageSettings);
    ShowWindow(MainWindow);
    return true;
}

void RelayoutMainWindow() {
    int width = 0;
    int height = 0;
    if (!GetWindowSize(MainWindow, &width, &height)) return;
    if (width > MinimumWidth && height > MinimumHeight) {
        const GadgetBox identity = GadgetGeometry(GadgetIdentity);
        ResizeGadget(GadgetIdentity, width - 10, identity.height);
        SetGadgetText(GadgetIdentity, ClientIdentity);
        const GadgetBox status = GadgetGeometry(GadgetStatus);
        ResizeGadget(GadgetStatus, width - 10, status.height);
        SetGadgetText(GadgetStatus, ClientNickname);
        ResizeGadget(GadgetRoster, width - 10, height - 125);
        MoveGadget(GadgetSettings, width - 47, height - 45);
        MoveGadget(GadgetNetworks, width - 92, height - 45);
        MoveGadget(GadgetLogin, GadgetGeometry(GadgetLogin).x, height - 45);
    } else {
        ResizeWindow(MainWindow, MinimumWidth, MinimumHeight);
    }
    DrainEvents();
}

void HideMainWindow() {
    IconifyWindow(MainWindow);
    GetWindowPosition(MainWindow, &HiddenX, &HiddenY);
    HideWindow(MainWindow);
}

void RestoreMainWindow() {
    if (!WindowIsVisible(MainWindow)) MoveWindow(MainWindow, HiddenX, HiddenY);
    ShowWindow(MainWindow);
}
