-- The local database file (database mode 1). Date columns hold ISO texts:
-- 'YYYY-MM-DD', and CreateDate 'YYYY-MM-DD HH:MM:SS' in local time.

create table Customer (
    sGUID      text primary key,
    TypeID     integer,
    Kesp200001 text, Kesp200002 text, Kesp200003 text, Kesp200004 text, Kesp200005 text,
    Kesp200006 text, Kesp200007 text, Kesp200008 text, Kesp200009 text, Kesp200010 text,
    Kesp200011 text, Kesp200012 text, Kesp200013 text, Kesp200014 text,
    OperName   text,
    CreateDate text default (datetime('now', 'localtime'))
);
create index CustomerType on Customer (TypeID);
create index CustomerCreated on Customer (CreateDate);

create table UserType (
    ID       integer primary key autoincrement,
    TypeName text
);

create table Alam (
    ID       integer primary key autoincrement,
    iHour    integer,
    iMinute  integer,
    iMonWeek integer,
    ReDay    integer,
    AlamDate text,
    ReTitle  text,
    Remark   text,
    OperName text,
    sGUID    text,
    bLook    integer not null default 0
);
-- The minute check looks reminders up by their time of day.
create index AlamTime on Alam (iHour, iMinute);

create table DIY (
    DIYID   text primary key,
    DIYName text
);

create table DiyRemark (
    DiyText text,
    Remark  text
);
create index DiyRemarkText on DiyRemark (DiyText);

create table Oper (
    OperName text primary key,
    OperPass text,
    Remark   text
);

create table authority (
    OperName text,
    Rules    text
);
create index AuthorityOper on authority (OperName);

create table Rules (
    SelfIndex   integer primary key,
    ParentIndex integer,
    TypeName    text
);
