// Corvane's own settings, kept in the "options" file beside the client's files.
#pragma once

// Reads the options file, creating it with the defaults when missing.
void LoadOptions();
