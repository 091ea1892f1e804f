// The process entry of Stakko: registers the game's build stamp with the runtime (it has no
// functions to be called by name), joins the arguments into the command line and starts.
#include "core/program_services.h"
#include "game/game_data.h"
#include "game/start_up.h"

int main(int argc, char** argv) {
  ProgramServices services;
  services.buildStamp = game::GameBuildStamp;
  RegisterProgramServices(services);
  game::StartUp(game::JoinCommandLine(argc, argv));
}
