#pragma once

class QTableView;

// The columns of the move check's table: the two addresses share the width
// and show one line each, cut in the middle where too long; the class takes
// what its name and mark need and the status what its header needs.
class CheckTableLayout
{
public:
    enum Column
    {
        Klasse,
        AlteUrl,
        ZielUrl,
        Status
    };

    static void apply(QTableView& table);
};
