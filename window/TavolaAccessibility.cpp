// What a screen reader reads of the window.
#include "Tavola.h"

void Tavola::describeForScreenReaders()
{
}
