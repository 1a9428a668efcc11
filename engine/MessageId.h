#pragma once

/// Every type id on the bus. Ids are part of the contract between the libraries: never renumber.
namespace MessageId {
inline constexpr int Quit = 0;
inline constexpr int Initialize = 1;
inline constexpr int Update = 2;
inline constexpr int Render = 3;
inline constexpr int Key = 4;
inline constexpr int Query = 5;
inline constexpr int QueryContainer = 6;
inline constexpr int AddSystem = 7;
inline constexpr int AddComponent = 8;
inline constexpr int AudioEvent = 9;
inline constexpr int Collision = 10;
inline constexpr int ChangeState = 11;
inline constexpr int Load = 13;
inline constexpr int SpriteRender = 14;
inline constexpr int CursorPosition = 16;
inline constexpr int Scroll = 17;
inline constexpr int DestroyEntity = 18;
inline constexpr int CursorWorldPosition = 19;
inline constexpr int ServiceHighRateA = 20;
inline constexpr int AddComponentJSON = 23;
inline constexpr int CreateEntity = 24;
inline constexpr int CreateState = 25;
inline constexpr int CollisionTile = 27;
inline constexpr int DestroyState = 28;
inline constexpr int QueryEntityNames = 29;
inline constexpr int Trigger = 30;
inline constexpr int EmitParticle = 31;
inline constexpr int SetAnimation = 32;
inline constexpr int QueryBone = 33;
inline constexpr int ListenerPosition = 34;
inline constexpr int EntityBirth = 35;
inline constexpr int AudioParameter = 36;
inline constexpr int ServiceHighRateB = 37;
inline constexpr int SpriteRenderBatch = 40;
inline constexpr int PlayTransitionState = 42;
inline constexpr int PlayTransitionReloadCheckpoint = 43;
inline constexpr int QueryParticlePool = 44;
inline constexpr int PopulateParticlePool = 45;
inline constexpr int DeleteParticlePool = 46;
inline constexpr int UIActiveTrigger = 48;
inline constexpr int UIVisibleTrigger = 49;
inline constexpr int SetBusVolume = 50;
inline constexpr int QueryBusVolume = 51;
inline constexpr int ContentReloaded = 52;
inline constexpr int QueryViews = 53;
/// The game's question of what the other party of a contact is (game/vocabulary/).
inline constexpr int ContactFacts = 54;
inline constexpr int ContentError = 55;
}  // namespace MessageId
