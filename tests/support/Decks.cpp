#include "support/Decks.hpp"

#include <cstdio>

namespace tessen::test {

std::string control_record(int code) {
    char record[16];
    std::snprintf(record, sizeof record, "%3d\n", code);
    return record;
}

std::string counts_record(int n, int isotope_flag) {
    char record[32];
    std::snprintf(record, sizeof record, "  0%4d%4d\n", n, isotope_flag);
    return record;
}

std::string title_records(const std::string& first, const std::string& second,
                          const std::string& third) {
    return first + "\n" + second + "\n" + third + "\n";
}

std::string atom_record(int i, int j, int k, int l, double r, double a, double t, double m) {
    char record[128];
    std::snprintf(record, sizeof record, "%3d%3d%3d%3d%12.6f%12.6f%12.6f%12.6f\n", i, j, k, l, r, a,
                  t, m);
    return record;
}

std::string isotope_header(int code, const std::string& title) {
    char field[16];
    std::snprintf(field, sizeof field, "%3d", code);
    return field + title + "\n";
}

std::string mass_record(std::initializer_list<double> masses) {
    std::string record;
    for (double mass : masses) {
        char field[64];
        std::snprintf(field, sizeof field, "%12.6f", mass);
        record += field;
    }
    return record + "\n";
}

std::string molecule_head(int n, int isotope_flag, const std::string& species) {
    return control_record(-9) + counts_record(n, isotope_flag) +
           title_records("FIRST TITLE", "SECOND TITLE", species);
}

std::string water_molecule(int isotope_flag) {
    return molecule_head(3, isotope_flag, "H2(16)O") + atom_record(1, 0, 0, 0, 0, 0, 0, 15.994915) +
           atom_record(2, 1, 0, 0, 0.9572, 0, 0, 1.007825) +
           atom_record(3, 1, 2, 0, 0.9572, 104.52, 0, 1.007825);
}

std::string methane_molecule() {
    return molecule_head(5, 0, "CH4") + atom_record(1, 0, 0, 0, 0, 0, 0, 12.0) +
           atom_record(2, 1, 0, 0, 1.09, 0, 0, 1.007825) +
           atom_record(3, 1, 2, 0, 1.09, 0, 0, 1.007825) +
           atom_record(4, 1, 2, 3, 1.09, 0, 120, 1.007825) +
           atom_record(5, 1, 2, 3, 1.09, 0, -120, 1.007825);
}

} // namespace tessen::test
