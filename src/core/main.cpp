#include <allegro.h>

#include "core/Game.h"

int main()
{
    // Without a system driver (no X display) every later Allegro call would crash.
    if (allegro_init() != 0) {
        allegro_message("Unable to set screen mode: %s\n", allegro_error[0] ? allegro_error : "no display");
        return -1;
    }
    Game* game = new Game();
    if (game->setup() == Game::SetupReady)
        game->run();
    return 0;
}
END_OF_MAIN()
