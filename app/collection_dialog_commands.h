// The dialogs the main window opens for the collection commands.
#pragma once

#include "app/choose_file.h"
#include "app/organize_dialog.h"
#include "app/problem_list_commands.h"
#include "app/save_position_dialog.h"
#include "app/text_search_dialog.h"
