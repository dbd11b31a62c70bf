#include "app/main_window.h"

// The restore; being built.
void TForm1::StandartTracks()
{
}
