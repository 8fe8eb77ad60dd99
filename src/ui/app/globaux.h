#pragma once

// The program's session, which the windows are given.
#include "core/session/session.h"

class TMainForm;
class TFormPreference;
class TFormProgress;
class TFormNouvSource;
class TFormNouvDest;
class TFormPleinEcran;
class TFormRecurs;
class TFormConfirmation;
class TFormDedoublone;
class TFormGestConf;
class TFormMiniatures;

// One instance per window, created at start-up in this order and never
// replaced while the program runs.
extern TMainForm* MainForm;
extern TFormPreference* FormPreference;
extern TFormProgress* FormProgress;
extern TFormNouvSource* FormNouvSource;
extern TFormNouvDest* FormNouvDest;
extern TFormPleinEcran* FormPleinEcran;
extern TFormRecurs* FormRecurs;
extern TFormConfirmation* FormConfirmation;
extern TFormDedoublone* FormDedoublone;
extern TFormGestConf* FormGestConf;
extern TFormMiniatures* FormMiniatures;
