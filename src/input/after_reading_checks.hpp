#pragma once
// Warnings about the data as read, before they are averaged: a file that looks already merged,
// and a LAUE card on data whose absences show a centred lattice.
namespace vorlane::run { struct RunState; }

namespace vorlane::input {

void check_data_as_read(run::RunState& rs);

}  // namespace vorlane::input
