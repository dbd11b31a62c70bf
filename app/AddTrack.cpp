#include "app/main_window.h"

// The add command; being built.
void TForm1::BitBtn4Click()
{
}
