// SPDX-License-Identifier: GPL-2.0-or-later
/* The memory baseline: a bare GTK 2 window with one label, in the same
 * desktop as the program under measurement. */
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Bare");
    gtk_container_add(GTK_CONTAINER(window), gtk_label_new("bare"));
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
