#include "app/main_window.h"

// The start command; being built.
void TForm1::BitBtn2Click()
{
}
