#pragma once

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
class TSourceListe;
class Tconfiguration;

// One instance per window and per data object, created at start-up in this order and never
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

extern TSourceListe* ListeSource;
extern Tconfiguration* Configuration;
