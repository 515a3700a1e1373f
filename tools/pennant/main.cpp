#include "tools/pennant/AddressBookCommand.h"
#include "tools/pennant/BrowseCommand.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/EncodeCommand.h"
#include "tools/pennant/FetchCommand.h"
#include "tools/pennant/JSONCommand.h"
#include "tools/pennant/QueryParseCommand.h"
#include "tools/pennant/RequestCommand.h"
#include "tools/pennant/Tool.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The dispatch table: one entry per subcommand.
    std::vector<std::unique_ptr<tool::Command>> commands;
    commands.push_back(std::make_unique<tool::JSONCommand>());
    commands.push_back(std::make_unique<tool::FetchCommand>());
    commands.push_back(std::make_unique<tool::EncodeCommand>());
    commands.push_back(std::make_unique<tool::QueryParseCommand>());
    commands.push_back(std::make_unique<tool::RequestCommand>());
    commands.push_back(std::make_unique<tool::BrowseCommand>());
    commands.push_back(std::make_unique<tool::AddressBookCommand>());

    const tool::Tool pennant(std::move(commands));
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    tool::Console console{std::cin, std::cout, std::cerr};
    return pennant.run(arguments, console);
}
