// What the window costs a conversion: one large table to a dump with the wizard's status list and
// progress bar behind the run (a status line per step, the bar and pending window events every
// tenth record), against the same run reporting nowhere, as ratios measured in one run. The two
// alternate, three times each, and the best of each is compared.
//
// Usage: wizard_bench FILE [TABLE]     (default table: Bench100k of bench_450k.accdb)
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise (xvfb-run for a real X server).
#include "BenchSupport.h"
#include "engine/ConversionRun.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "source/AccessDatabase.h"
#include "source/SchemaScanner.h"
#include "wizard/frmMain.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

using namespace tabulon;
using namespace tabulon::bench;

namespace {

class NoMessages : public UserInterface {
public:
    int messageBox(const std::string&, int, const std::string&) override { return msgbox::Ok; }
    void setClipboardText(const std::string&) override {}
    bool openDocument(const std::string&) override { return false; }
};

// The settings the wizard builds for a dump of one fully checked table under the default options.
Dictionary settingsFor(const std::string& file, const std::string& table, const pugi::xml_document& schema,
                       const std::string& dump) {
    const DictionaryPtr s = Dictionary::create();
    s->set("sourcefilename", file);
    s->set("destinationmethod", "DUMP");
    s->set("destinationdatabase", "Bench");
    s->set("destinationdumpfilename", dump);
    for (const char* on : {"createtables", "unicode", "transferdefaultvalues", "transferindexes", "transferautonumbers",
                           "transferrecords", "columnlist"})
        s->set(on, 1);
    s->set("datetimetype", "DATETIME2");
    StringList selection{table};
    for (const pugi::xpath_node& field : schema.select_nodes("*/Tables/Table/Fields/Field"))
        if (std::string(field.node().parent().parent().child("Name").text().get()) == table)
            selection.push_back(table + "\\" + field.node().child("Name").text().get());
    s->set("sourcetables", selection);
    Dictionary settings;
    settings.set(kSettingsSection, s);
    return settings;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing convert(const Dictionary& settings, const pugi::xml_document& schema, Progress& progress) {
    RunFlags flags;
    ConversionContext context{progress, flags, &schema,
                              [](const SourceCredentials& credentials) { return AccessDatabase::open(credentials); }};
    std::string report;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const RunResult result = MoveData2MySql(settings, report, context);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (result != RunResult::Completed || report.find("ERROR") != std::string::npos ||
        report.find(" records moved") == std::string::npos) {
        std::fprintf(stderr, "the conversion failed:\n%s", report.c_str());
        std::exit(1);
    }
    return {wall.count(), cpu};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wizard_bench FILE [TABLE]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string file = argv[1];
    const std::string table = argc > 2 ? argv[2] : "Bench100k";
    const std::string dump = (std::filesystem::temp_directory_path() / "wizard_bench.sql").string();

    const auto database = AccessDatabase::open({file, "", "", ""});
    const std::int64_t rows = database->rowCount(table);
    const auto schema = buildSchemaDocument(*database, readColumnSchema(*database), nullptr);
    const Dictionary settings = settingsFor(file, table, *schema, dump);

    ProcessState state;
    NoMessages messages;
    frmMain window(state, messages);
    window.InitForm();
    window.show();
    QuietProgress quiet;

    Timing bare{1e9, 1e9}, shown{1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        const Timing b = convert(settings, *schema, quiet);
        const Timing w = convert(settings, *schema, window.progress());
        bare = {std::min(bare.wall, b.wall), std::min(bare.cpu, b.cpu)};
        shown = {std::min(shown.wall, w.wall), std::min(shown.cpu, w.cpu)};
    }
    std::filesystem::remove(dump);
    std::printf("%s, %lld rows, best of 3 (platform %s)\n", table.c_str(), static_cast<long long>(rows),
                qPrintable(QGuiApplication::platformName()));
    std::printf("  reporting nowhere: %6.2fs wall %6.2fs cpu %9.0f rows/s\n", bare.wall, bare.cpu,
                static_cast<double>(rows) / bare.wall);
    std::printf("  through the window: %5.2fs wall %6.2fs cpu %9.0f rows/s\n", shown.wall, shown.cpu,
                static_cast<double>(rows) / shown.wall);
    std::printf("  window / nowhere:   %5.2fx wall %5.2fx cpu\n", shown.wall / bare.wall, shown.cpu / bare.cpu);
    return 0;
}
