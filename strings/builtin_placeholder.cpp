// Temporary built-in tables: the letters and message parts of the four
// languages until the generated tables replace them.
#include <array>

#include "strings/builtin_tables.h"

namespace kv::builtin {

std::string_view Message(int index, int n) {
  if (index < 0 || index >= LanguageCount) return {};
  static constexpr std::array<std::array<std::string_view, 8>, 4> kTable = {{
      {" TDFCPR   rpcfdt", " TDFCPR   RPCFDT", "menace;attente;Mais;Mat :;",
       "Mais Pat !; Mat en 1;Solution :;Essai :;Jeu apparent :;",
       "Pas de solution;Recherche de la solution;Recherche terminée;Analyse;Interruption;",
       "Position modifiée;Position douteuse;Position illégale", "Blancs :", "Noirs :"},
      {" RQBSPK   kpsbqr", " RQBSPK   KPSBQR", "threat;waiting;But;Mate:;",
       "But Draw!; Mate in 1;Solution:;Try:;Set Play:;",
       "No solution;Searching solution;Search completed;Analyzing;User break;",
       "Changed position;Dubious position;Invalid position", "White:", "Black:"},
      {" TDACPR   rpcadt", " TDACPR   RPCADT", "minaccia;attesa;Ma;Matto:;",
       "Ma stallo!; Matto in 1;Soluzione:;Tentativo:;Gioco apparente:;",
       "Nessuna soluzione;Ricerca della soluzione;Ricerca terminata;Analisi;Interruzione;",
       "Posizione modificata;Posizione dubbia;Posizione illegale", "Bianco:", "Nero:"},
      {" TDACPR   rpcadt", " TDACPR   RPCADT", "amenaza;espera;Pero;Mate:;",
       "¡Pero tablas!; Mate en 1;Solución:;Intento:;Juego aparente:;",
       "Sin solución;Buscando la solución;Búsqueda terminada;Analizando;Interrupción;",
       "Posición modificada;Posición dudosa;Posición ilegal", "Blancas:", "Negras:"},
  }};
  switch (n) {
    case 41: return kTable[index][0];
    case 42: return kTable[index][1];
    case 51: case 52: case 53: case 54: return kTable[index][n - 49];
    case 83: return kTable[index][6];
    case 84: return kTable[index][7];
    default: return {};
  }
}

std::vector<MenuLine> MenuLines(int) { return {}; }

}  // namespace kv::builtin
