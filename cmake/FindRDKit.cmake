# Finds the RDKit C++ libraries as Debian packages them (librdkit-dev), which
# ship headers and libraries but no CMake package. Defines RDKit_FOUND,
# RDKit_INCLUDE_DIR and one imported target per library named in
# RDKit_COMPONENTS below: RDKit::RDGeneral, RDKit::GraphMol,
# RDKit::RDGeometryLib, RDKit::SmilesParse, RDKit::FileParsers, RDKit::Depictor. RDKit's headers
# include Boost's, so the targets carry Boost's include folder too.

include(FindPackageHandleStandardArgs)
include(FeatureSummary)

set_package_properties(RDKit PROPERTIES
    DESCRIPTION "Cheminformatics toolkit: reads SMILES and MDL molfiles, checks valences, lays molecules out in 2D"
    URL "https://www.rdkit.org"
    TYPE REQUIRED
    PURPOSE "Turns SMILES and molfiles into the atoms, bonds and charges of the molecule pictures (Debian: librdkit-dev libboost-dev)")

find_path(RDKit_INCLUDE_DIR GraphMol/GraphMol.h PATH_SUFFIXES rdkit)
find_path(RDKit_Boost_INCLUDE_DIR boost/shared_ptr.hpp)

# Each library with those it needs of the others, so that a target linked
# alone brings what its symbols resolve against.
set(RDKit_COMPONENTS RDGeneral RDGeometryLib GraphMol SmilesParse FileParsers Depictor)
set(RDKit_RDGeometryLib_NEEDS RDGeneral)
set(RDKit_GraphMol_NEEDS RDGeometryLib RDGeneral)
set(RDKit_SmilesParse_NEEDS GraphMol RDGeneral)
set(RDKit_Depictor_NEEDS GraphMol RDGeneral)
set(RDKit_FileParsers_NEEDS GraphMol RDGeneral)

set(RDKit_LIBRARY_VARS)
foreach(component IN LISTS RDKit_COMPONENTS)
    find_library(RDKit_${component}_LIBRARY NAMES RDKit${component})
    mark_as_advanced(RDKit_${component}_LIBRARY)
    list(APPEND RDKit_LIBRARY_VARS RDKit_${component}_LIBRARY)
endforeach()
mark_as_advanced(RDKit_INCLUDE_DIR RDKit_Boost_INCLUDE_DIR)

# The version from the library's file name (libRDKitRDGeneral.so.1.2022.09.3):
# Debian's versions.h leaves its version macro unfilled.
if(RDKit_RDGeneral_LIBRARY)
    file(REAL_PATH "${RDKit_RDGeneral_LIBRARY}" library_file)
    if(library_file MATCHES "\\.so\\.[0-9]+\\.([0-9]+\\.[0-9]+\\.[0-9]+)$")
        set(RDKit_VERSION "${CMAKE_MATCH_1}")
    endif()
endif()

find_package_handle_standard_args(RDKit
    REQUIRED_VARS RDKit_INCLUDE_DIR RDKit_Boost_INCLUDE_DIR ${RDKit_LIBRARY_VARS}
    VERSION_VAR RDKit_VERSION
    REASON_FAILURE_MESSAGE "Debian: apt-get install librdkit-dev libboost-dev")

if(RDKit_FOUND)
    foreach(component IN LISTS RDKit_COMPONENTS)
        if(NOT TARGET RDKit::${component})
            add_library(RDKit::${component} SHARED IMPORTED)
            # SYSTEM: RDKit's and Boost's headers are not built with our warnings.
            set_target_properties(RDKit::${component} PROPERTIES
                IMPORTED_LOCATION "${RDKit_${component}_LIBRARY}"
                INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${RDKit_INCLUDE_DIR};${RDKit_Boost_INCLUDE_DIR}"
                INTERFACE_INCLUDE_DIRECTORIES "${RDKit_INCLUDE_DIR};${RDKit_Boost_INCLUDE_DIR}")
        endif()
    endforeach()
    foreach(component IN LISTS RDKit_COMPONENTS)
        foreach(needed IN LISTS RDKit_${component}_NEEDS)
            set_property(TARGET RDKit::${component} APPEND PROPERTY INTERFACE_LINK_LIBRARIES RDKit::${needed})
        endforeach()
    endforeach()
endif()
