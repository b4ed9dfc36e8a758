// gen_table RELEVES SPECIES OUT.vtb [PER_RELEVE] [SEED]: writes a synthetic saved table.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "formats/workspace.h"
#include "tools/synthetic_table.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: gen_table RELEVES SPECIES OUT.vtb [PER_RELEVE] [SEED]\n");
        return 2;
    }
    try {
        tavik::Workspace ws;
        ws.Start("");
        tavik::tools::SyntheticShape shape;
        shape.releves = std::atoi(argv[1]);
        shape.species = std::atoi(argv[2]);
        if (argc > 4) shape.perReleve = std::atoi(argv[4]);
        if (argc > 5) shape.seed = static_cast<std::uint32_t>(std::atoi(argv[5]));
        tavik::tools::FillSyntheticTable(ws.table, shape);
        ws.table.TableTitle = "Synthetic " + std::string(argv[1]) + "x" + argv[2];
        ws.SaveTable(argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_table: %s\n", e.what());
        return 1;
    }
    return 0;
}
