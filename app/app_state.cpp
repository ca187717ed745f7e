#include "app/app_state.h"

#include "app/board_editing.h"

namespace kv::app {

AppState::AppState() : backup(EmptyBoard()) {
  pos.board = EmptyBoard();
  collection.currentIndex = -1;
}

}  // namespace kv::app
