#include "settings/options_file.h"

void LoadOptions() {
    // Corvane has no settings of its own yet; the file arrives with them.
}
