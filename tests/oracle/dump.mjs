// Prints what an independent Jet reader (npm mdb-reader) sees in a database, as one JSON
// document, so that tests can compare it with what our engine wrote or read.
//
//   node dump.mjs FILE [PASSWORD] [--system]
//
// Output: {"password": <getPassword()>, "tables": {NAME: {"columns": [{name, type, size}],
// "rowCount": N, "rows": [{COLUMN: VALUE, ...}]}}, "order": [NAME, ...]}. User tables only
// unless --system is given; "order" keeps the catalog order, which object keys cannot promise.
// Values: null, booleans, numbers, strings; binary and OLE values as lower-case hex strings;
// dates as ISO-8601 strings (UTC); non-finite doubles and big integers as strings.
// Exit code 1 with a one-line message on stderr when the file cannot be read.
import { readFileSync } from "node:fs";
import process from "node:process";
import MDBReader from "mdb-reader";

// Dates come out in UTC whatever the machine's zone, so that dumps compare across machines.
process.env.TZ = "UTC";

function encodeValue(value) {
  if (value === null || value === undefined) return null;
  if (Buffer.isBuffer(value)) return value.toString("hex");
  if (value instanceof Date) {
    return Number.isNaN(value.getTime()) ? "Invalid Date" : value.toISOString();
  }
  if (typeof value === "bigint") return value.toString();
  if (typeof value === "number" && !Number.isFinite(value)) return String(value);
  if (Array.isArray(value)) {
    // Attachments: keep every field, data as hex.
    return value.map((item) => {
      const out = {};
      for (const [key, field] of Object.entries(item)) out[key] = encodeValue(field);
      return out;
    });
  }
  return value;
}

function dumpTable(table) {
  const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type, size: c.size }));
  const rows = table.getData().map((row) => {
    const out = {};
    for (const column of columns) out[column.name] = encodeValue(row[column.name]);
    return out;
  });
  return { columns, rowCount: table.rowCount, rows };
}

function main(argv) {
  const positional = argv.filter((a) => a !== "--system");
  const withSystem = argv.includes("--system");
  if (positional.length < 1 || positional.length > 2) {
    process.stderr.write("usage: node dump.mjs FILE [PASSWORD] [--system]\n");
    return 2;
  }
  const [path, password] = positional;
  const reader = new MDBReader(readFileSync(path), password === undefined ? {} : { password });
  const names = reader.getTableNames({ normalTables: true, systemTables: withSystem });
  const tables = {};
  for (const name of names) tables[name] = dumpTable(reader.getTable(name));
  const result = { password: reader.getPassword(), order: names, tables };
  process.stdout.write(JSON.stringify(result) + "\n");
  return 0;
}

try {
  process.exitCode = main(process.argv.slice(2));
} catch (error) {
  process.stderr.write(`dump.mjs: ${String(error && error.message ? error.message : error)}\n`);
  process.exitCode = 1;
}
