// The dialogs the main window opens for the collection commands.
#pragma once

#include "app/choose_file.h"
#include "app/enregistrer_sous_dlg.h"
#include "app/liste_probleme_cmd.h"
#include "app/modifier_dlg.h"
#include "app/rechercher_texte_dlg.h"
