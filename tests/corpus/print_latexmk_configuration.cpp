// Prints the latexmk configuration torvel-server writes for a job without EPS figures, so that the
// corpus runs the same tool chain directly.
#include "latexmk_run.h"

#include <iostream>

int main()
{
    std::cout << torvel::LatexmkConfiguration(torvel::EncapsulatedFigures::Absent);
    return 0;
}
