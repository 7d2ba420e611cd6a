// tabulon-inspect: looks into an Access file exactly as Tabulon reads it.

#include "JsonRows.h"
#include "lib/Error.h"
#include "source/AccessDatabase.h"
#include "source/SchemaScanner.h"
#include "tabulon/Version.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage:\n"
    "  tabulon-inspect schema [options] FILE        print the schema document (what access.xml holds)\n"
    "  tabulon-inspect rows [options] FILE TABLE    print every row of TABLE as JSON Lines\n"
    "  tabulon-inspect tables [options] FILE        list the tables a conversion offers, one per line\n"
    "  tabulon-inspect queries [options] FILE       print each saved query as one JSON object per line\n"
    "\n"
    "Options:\n"
    "  --password=P          the database password, which also unlocks an encrypted .accdb\n"
    "                        (for an .mdb with a system database: the user's password)\n"
    "  --system-database=F   the workgroup information file (.mdb only)\n"
    "  --user=U              the workgroup user name\n"
    "  --code-page=N         read Access 97 text in Windows code page N (e.g. 936), whatever the file says\n"
    "  --help                show this text\n"
    "  --version             show the version\n"
    "\n"
    "Rows: null, true/false, integers, floating numbers that read back exactly, Currency and Decimal as\n"
    "strings of their exact digits, date-times as \"YYYY-MM-DD hh:mm:ss.fff\", text and GUIDs as strings,\n"
    "binary and OLE values as \"0x\" and hex digits. Errors: \"Error N: description\" on standard error, exit 1.\n";

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    tabulon::SourceCredentials credentials;
    tabulon::ReaderOptions options;
    bool help = false;
};

bool takeOption(const std::string& arg, const std::string& name, std::string& out) {
    if (arg.rfind(name + "=", 0) != 0)
        return false;
    out = arg.substr(name.size() + 1);
    return true;
}

Arguments parse(int argc, char** argv) {
    Arguments args;
    std::string codePage;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            args.help = true;
        else if (takeOption(arg, "--password", args.credentials.password) ||
                 takeOption(arg, "--system-database", args.credentials.systemDatabase) ||
                 takeOption(arg, "--user", args.credentials.userName) || takeOption(arg, "--code-page", codePage))
            continue;
        else if (arg.rfind("--", 0) == 0)
            throw tabulon::Error(tabulon::errc::InvalidArgument, "tabulon-inspect", "Unknown option '" + arg + "'.");
        else if (args.command.empty())
            args.command = arg;
        else
            args.positional.push_back(arg);
    }
    if (!codePage.empty()) {
        const long value = std::strtol(codePage.c_str(), nullptr, 10);
        if (value <= 0 || value > 65535)
            throw tabulon::Error(tabulon::errc::InvalidArgument, "tabulon-inspect",
                                 "Not a code page number: '" + codePage + "'.");
        args.options.jet3CodePage = static_cast<std::uint16_t>(value);
    }
    return args;
}

void requireArguments(const Arguments& args, std::size_t count) {
    if (args.positional.size() != count)
        throw tabulon::Error(tabulon::errc::InvalidArgument, "tabulon-inspect",
                             "Wrong number of arguments for '" + args.command + "'; see --help.");
}

// One JSON object per query: name, kind, hidden, sql, parameters and, when it could not be rebuilt, problem.
void writeQueries(const tabulon::SavedQueries& saved, std::ostream& out) {
    for (const auto& query : saved.queries) {
        std::string line = "{\"name\":";
        tabulon::appendJsonString(query.name, line);
        line += ",\"kind\":";
        tabulon::appendJsonString(query.kind, line);
        line += query.hidden ? ",\"hidden\":true,\"sql\":" : ",\"hidden\":false,\"sql\":";
        tabulon::appendJsonString(query.sql, line);
        line += ",\"parameters\":[";
        for (std::size_t i = 0; i < query.parameters.size(); ++i) {
            line += i > 0 ? ",{\"name\":" : "{\"name\":";
            tabulon::appendJsonString(query.parameters[i].name, line);
            line += ",\"type\":";
            tabulon::appendJsonString(query.parameters[i].type, line);
            line += "}";
        }
        line += "]";
        if (!query.problem.empty()) {
            line += ",\"problem\":";
            tabulon::appendJsonString(query.problem, line);
        }
        out << line << "}\n";
    }
}

int run(const Arguments& args) {
    if (args.command == "schema" || args.command == "tables" || args.command == "queries") {
        requireArguments(args, 1);
    } else if (args.command == "rows") {
        requireArguments(args, 2);
    } else {
        throw tabulon::Error(tabulon::errc::InvalidArgument, "tabulon-inspect",
                             args.command.empty() ? "No command given; see --help."
                                                  : "Unknown command '" + args.command + "'; see --help.");
    }
    tabulon::SourceCredentials credentials = args.credentials;
    credentials.fileName = args.positional[0];
    const auto database = tabulon::AccessDatabase::open(credentials, args.options);
    if (args.command == "schema") {
        const auto document = tabulon::buildSchemaDocument(*database, tabulon::readColumnSchema(*database), nullptr);
        document->save(std::cout, "  ");
    } else if (args.command == "queries") {
        writeQueries(database->savedQueries(), std::cout);
    } else if (args.command == "tables") {
        for (const auto& table : database->tables())
            if (table.attributes == 0 && !table.fields.empty())
                std::cout << table.name << '\n';
    } else {
        const auto cursor = database->openCursor(args.positional[1], {});
        tabulon::writeJsonRows(*cursor, std::cout);
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "tabulon-inspect " << tabulon::kVersionText << '\n';
        return 0;
    }
    try {
        const Arguments args = parse(argc, argv);
        if (args.help) {
            std::cout << kUsage;
            return 0;
        }
        return run(args);
    } catch (const tabulon::Error& error) {
        std::cerr << "Error " << error.number() << ": " << error.description() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "Error " << tabulon::errc::General << ": " << error.what() << '\n';
    }
    return 1;
}
