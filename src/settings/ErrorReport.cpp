#include "settings/ErrorReport.h"

#include "lib/Error.h"
#include "tabulon/Version.h"

#include <cstdint>

namespace tabulon {

std::string ComposeErrorReport(const std::string& function, long number, const std::string& description,
                               const std::string& debugInformation, const std::string& savedCopy) {
    // Error numbers are 32-bit: a number beyond that range shows as it would have been stored.
    const auto number32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    const std::string version =
        std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
    return "Error in function '" + function + "'\r\n" +                                         //
           "Error: " + std::to_string(number32) + " (0x" + errorNumberHex(number32) + ")\r\n" + //
           "Reason: " + description + "\r\n" +                                                  //
           "Debug information: " + debugInformation + "\r\n" +                                  //
           "\r\n" +                                                                             //
           "Version: " + version + "\r\n" +                                                     //
           "\r\n" +                                                                             //
           "This error message is on the clipboard.\r\n" +                                      //
           (savedCopy.empty() ? "" : "A copy is saved in " + savedCopy + "\r\n") +              //
           "The program will now terminate. Have a nice day :)";
}

} // namespace tabulon
