#pragma once

class TKespStringGrid;

// Writes the grid to an .xls file the operator chooses: one sheet of text
// cells, the header in row 1, every column but the hidden key column 0.
// Reports the outcome in a message box.
void ExportToExcel(TKespStringGrid* grid);
