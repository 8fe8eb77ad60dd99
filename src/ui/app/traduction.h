#pragma once

// Qt's own words (dialog buttons, column titles, the file and font dialogs) in French, when the
// translations are installed; false when they are not.
bool InstalleTraductionsQt();
