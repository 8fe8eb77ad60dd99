#include "globaux.h"

TMainForm* MainForm = nullptr;
TFormPreference* FormPreference = nullptr;
TFormProgress* FormProgress = nullptr;
TFormNouvSource* FormNouvSource = nullptr;
TFormNouvDest* FormNouvDest = nullptr;
TFormPleinEcran* FormPleinEcran = nullptr;
TFormRecurs* FormRecurs = nullptr;
TFormConfirmation* FormConfirmation = nullptr;
TFormDedoublone* FormDedoublone = nullptr;
TFormGestConf* FormGestConf = nullptr;
TFormMiniatures* FormMiniatures = nullptr;
